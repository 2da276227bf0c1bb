// Listing a folder through one handle: the same entries a search finds, with identities a walk can
// compare against the folders it has entered.

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "FileSystem.h"
#include "FolderListing.h"
#include "TestSupport.h"

namespace korvex::test {
namespace {

struct Seen {
    DWORD attributes = 0;
    std::uint64_t size = 0;
    std::uint64_t index = 0;
};

std::map<std::wstring, Seen> ListAll(const std::wstring& folder) {
    std::map<std::wstring, Seen> seen;
    platform::FolderListing listing(folder);
    while (const auto entry = listing.Next()) {
        EXPECT_FALSE(seen.contains(std::wstring(entry->name))) << "twice: " << std::wstring(entry->name);
        seen[std::wstring(entry->name)] = {entry->attributes, entry->size, entry->index};
    }
    return seen;
}

// More names than one batch holds, hidden and system ones and a subfolder, in a
// folder whose path is too long for the plain API form: the listing matches a "*" search entry
// for entry, and each subfolder's identity is the one the subfolder itself reports when opened.
TEST(FolderListing, MatchesASearchAndGivesEachSubfolderItsIdentity) {
    TempDir dir;
    std::wstring root = dir.Path();
    while (root.size() < 300) {
        root += L"уровень-с-длинным-именем-" + std::to_wstring(root.size()) + L"\\";
        MakeDir(root);
    }
    for (int i = 0; i < 400; ++i)
        WriteBytes(root + L"чертёж-с-длинным-именем-номер-" + std::to_wstring(i) + L".dwg", std::string(i, 'x'));
    WriteBytes(root + L"hidden.dwg", "h", FILE_ATTRIBUTE_HIDDEN);
    WriteBytes(root + L"system.dwg", "s", FILE_ATTRIBUTE_SYSTEM);
    MakeDir(root + L"sub");

    std::map<std::wstring, Seen> searched;
    ASSERT_TRUE(platform::EnumerateDirectory(root + L"*", [&](const WIN32_FIND_DATAW& found) {
        searched[found.cFileName] = {found.dwFileAttributes, platform::FindDataSize(found), 0};
    }));
    const auto listed = ListAll(root);
    ASSERT_EQ(listed.size(), searched.size());
    ASSERT_EQ(listed.size(), 400u + 2 + 1 + 2);  // with "." and ".."
    for (const auto& [name, found] : searched) {
        const auto it = listed.find(name);
        ASSERT_NE(it, listed.end()) << name;
        EXPECT_EQ(it->second.attributes, found.attributes) << name;
        if (!(found.attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            EXPECT_EQ(it->second.size, found.size) << name;
        }
    }

    const auto rootIdentity = platform::FolderListing(root).Identity();
    const auto subIdentity = platform::FolderListing(root + L"sub").Identity();
    ASSERT_TRUE(rootIdentity && subIdentity);
    EXPECT_NE(rootIdentity->index, subIdentity->index);
    EXPECT_EQ(listed.at(L"sub").index, subIdentity->index);
    EXPECT_EQ(listed.at(L".").index, rootIdentity->index);
}

// A folder link is listed as one, and opened it is the folder it leads to.
TEST(FolderListing, LinkIsListedAsALinkAndLeadsToItsFolder) {
    TempDir dir;
    MakeDir(dir / L"target");
    CreateSymbolicLinkW((dir / L"link").c_str(), (dir / L"target").c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY);
    // Wine 8 answers success and makes nothing.
    if (platform::FileAttributes(dir / L"link") == INVALID_FILE_ATTRIBUTES) GTEST_SKIP() << "no folder links here";
    const auto listed = ListAll(dir.Path());
    ASSERT_TRUE(listed.contains(L"link"));
    EXPECT_TRUE(platform::IsFolderLink(listed.at(L"link").attributes));
    EXPECT_FALSE(platform::IsFolderLink(listed.at(L"target").attributes));
    const auto target = platform::FolderListing(dir / L"target").Identity();
    ASSERT_TRUE(target);
    EXPECT_EQ(listed.at(L"target").index, target->index);
    EXPECT_EQ(platform::FolderListing(dir / L"link").Identity(), target);
}

TEST(FolderListing, WhatIsNoFolderListsNothing) {
    TempDir dir;
    WriteBytes(dir / L"file.dwg", "x");
    for (const std::wstring& path : {dir / L"file.dwg", dir / L"missing", dir / L"missing\\deeper", std::wstring()}) {
        platform::FolderListing listing(path);
        EXPECT_FALSE(listing.Next()) << path;
        EXPECT_FALSE(listing.Next()) << path;
    }
    EXPECT_FALSE(platform::FolderListing(dir / L"missing"));
    EXPECT_FALSE(platform::FolderListing(dir / L"missing").Identity());
}

}  // namespace
}  // namespace korvex::test

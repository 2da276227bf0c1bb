// A folder's entries read with a reader thread past the first few hundred: every entry once, in
// the order of a plain search, with its facts; an error of the caller ends the reading cleanly.

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "FileSystem.h"
#include "EnumerateFolder.h"
#include "TestSupport.h"

namespace korvex::test {
namespace {

struct Seen {
    std::wstring name;
    DWORD attributes;
    std::uint64_t size;
    std::uint64_t lastWrite;
    bool operator==(const Seen&) const = default;
};

std::vector<Seen> ByPlainSearch(const std::wstring& pattern) {
    std::vector<Seen> seen;
    platform::EnumerateDirectory(pattern, [&](const WIN32_FIND_DATAW& d) {
        const auto v = platform::ViewOf(d);
        seen.push_back({std::wstring(v.name), v.attributes, v.size,
                        (std::uint64_t{v.lastWrite.dwHighDateTime} << 32) | v.lastWrite.dwLowDateTime});
    });
    return seen;
}

std::vector<Seen> ByEnumerateFolder(const std::wstring& pattern, bool* started = nullptr) {
    std::vector<Seen> seen;
    const bool ok = platform::EnumerateFolder(pattern, [&](const platform::FolderEntryView& v) {
        seen.push_back({std::wstring(v.name), v.attributes, v.size,
                        (std::uint64_t{v.lastWrite.dwHighDateTime} << 32) | v.lastWrite.dwLowDateTime});
    });
    if (started) *started = ok;
    return seen;
}

TEST(EnumerateFolder, EveryEntryOnceInTheOrderOfAPlainSearchAtEveryFolderSize) {
    // Around the entries read before the reader thread takes over, and many of its batches.
    for (const int count : {0, 1, 510, 511, 512, 513, 3000}) {
        TempDir dir;
        for (int i = 0; i < count; ++i)
            WriteBytes(dir / (L"f" + std::to_wstring(i) + (i % 7 ? L".dwg" : L".чертёж")), std::string(i % 50, 'x'),
                       i % 11 ? FILE_ATTRIBUTE_NORMAL : FILE_ATTRIBUTE_HIDDEN);
        if (count) MakeDir(dir / L"folder");
        const std::wstring pattern = dir / L"*.*";
        bool started = false;
        const auto seen = ByEnumerateFolder(pattern, &started);
        EXPECT_TRUE(started);
        EXPECT_EQ(seen, ByPlainSearch(pattern)) << count;
        // With "." and "..", the folder and the files.
        EXPECT_EQ(seen.size(), static_cast<std::size_t>(count + (count ? 3 : 2))) << count;
    }
}

TEST(EnumerateFolder, AFolderThatCannotBeSearchedReportsIt) {
    TempDir dir;
    bool started = true;
    EXPECT_TRUE(ByEnumerateFolder(dir / L"no such folder\\*.*", &started).empty());
    EXPECT_FALSE(started);
}

TEST(EnumerateFolder, AnErrorOfTheCallerEndsTheReadingAndPassesOn) {
    TempDir dir;
    for (int i = 0; i < 2000; ++i) WriteBytes(dir / (L"f" + std::to_wstring(i)), "");
    // Before and after the reader thread took over; the reader is stopped and joined either way.
    for (const int failAt : {100, 700, 1990}) {
        int met = 0;
        EXPECT_THROW(platform::EnumerateFolder(dir / L"*.*",
                                               [&](const platform::FolderEntryView&) {
                                                   if (++met == failAt) throw std::runtime_error("caller");
                                               }),
                     std::runtime_error);
        EXPECT_EQ(met, failAt);
    }
    // The folder is searched normally afterwards: no search was left open on it.
    EXPECT_TRUE(RemoveTree(dir.Path()));
}

}  // namespace
}  // namespace korvex::test

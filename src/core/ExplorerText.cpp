#include "ExplorerText.h"

#include "PathText.h"

namespace korvex {

std::wstring AttributeLetters(std::uint32_t attributes) {
    std::wstring letters;
    if (attributes & kAttrArchive) letters += L'A';
    if (attributes & kAttrReadOnly) letters += L'R';
    if (attributes & kAttrHidden) letters += L'H';
    if (attributes & kAttrSystem) letters += L'S';
    return letters;
}

std::wstring DriveTypeName(std::uint8_t driveType) {
    static constexpr const wchar_t* kNames[] = {L"<unknown>", L"<not exists>", L"Removable", L"Fixed",
                                                L"Remote",    L"CDROM",        L"RAM"};
    return driveType < std::size(kNames) ? kNames[driveType] : kNames[0];
}

std::wstring GroupDigits(std::uint64_t value, std::wstring_view thousandsSeparator) {
    const std::wstring digits = std::to_wstring(value);
    std::wstring out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += thousandsSeparator;
        out += digits[i];
    }
    return out;
}

namespace {
void AppendTwoDigits(std::wstring& out, int value) {
    out += static_cast<wchar_t>(L'0' + (value / 10) % 10);
    out += static_cast<wchar_t>(L'0' + value % 10);
}
}  // namespace

std::wstring ModifiedTimeText(const LocalTime& t, DateOrder dateOrder, std::wstring_view dateSeparator,
                              std::wstring_view timeSeparator) {
    std::wstring text = ShortDateText(t.year, t.month, t.day, dateOrder, dateSeparator);
    const int evenSecond = t.second - t.second % 2;
    if (t.hour != 0 || t.minute != 0 || evenSecond != 0) {
        text += L' ';
        AppendTwoDigits(text, t.hour);
        text += timeSeparator;
        AppendTwoDigits(text, t.minute);
    }
    return text;
}

std::uint32_t FilterWord(TFileType fileType) {
    std::uint32_t word = 0;
    if (fileType.Contains(ftReadOnly)) word |= kAttrReadOnly;
    if (fileType.Contains(ftHidden)) word |= kAttrHidden;
    if (fileType.Contains(ftSystem)) word |= kAttrSystem;
    if (fileType.Contains(ftArchive)) word |= kAttrArchive;
    if (fileType.Contains(ftNormal)) word |= kAttrNormal;
    return word;
}

bool PassesFilter(std::uint32_t attributes, std::uint32_t filter) {
    if ((attributes & kAttrDirectory) != (filter & kAttrDirectory)) return false;
    for (std::uint32_t bit : {kAttrReadOnly, kAttrHidden, kAttrSystem})
        if ((attributes & bit) && !(filter & bit)) return false;
    return true;
}

std::vector<std::wstring> SplitMask(std::wstring_view mask) {
    std::vector<std::wstring> patterns;
    std::size_t start = 0;
    for (;;) {
        const auto semicolon = mask.find(L';', start);
        patterns.emplace_back(mask.substr(start, semicolon - start));
        if (semicolon == std::wstring_view::npos) break;
        start = semicolon + 1;
    }
    return patterns;
}

bool MaskMatchesAll(std::wstring_view mask) {
    int matchAll = 0;
    for (const auto& pattern : SplitMask(mask)) {
        if (pattern.empty()) continue;
        if (pattern != L"*.*" && pattern != L"*") return false;
        ++matchAll;
    }
    return matchAll == 1;
}

std::optional<std::wstring> ParentOrDrives(std::wstring_view folder) {
    const std::wstring withSlash = EnsureBackslash(folder);
    const std::wstring_view withoutSlash = std::wstring_view(withSlash).substr(0, withSlash.size() - 1);
    if (!withoutSlash.empty() && withoutSlash.back() == L':') return std::wstring(kDrivesFolder);
    const auto cut = withoutSlash.find_last_of(L"\\:");
    if (cut == std::wstring_view::npos) return std::nullopt;
    return std::wstring(withoutSlash.substr(0, cut + 1));
}

bool IsDrivesWord(std::wstring_view text) {
    constexpr std::wstring_view kDrives = L"DRIVES";
    if (text.size() != kDrives.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
        if (c != kDrives[i]) return false;
    }
    return true;
}

std::wstring_view BareName(std::wstring_view fullPath) {
    return ExtractFileName(fullPath);
}

TObjectTypes KindOfTag(std::wstring_view tag) {
    if (tag == kKindFile) return {otFile};
    if (tag == kKindDir) return {otDirectory};
    if (tag == kKindDrive) return {otDisk};
    return {};
}

}  // namespace korvex

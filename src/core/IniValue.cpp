#include "IniValue.h"

#include "PathText.h"

namespace korvex {

std::wstring SettingsPathFor(std::wstring_view exePath) {
    return ChangeFileExt(exePath, L".ini");
}

namespace {

int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

}  // namespace

std::optional<std::int32_t> ParseIniInteger(std::wstring_view text) {
    bool negative = false;
    std::wstring_view rest = text;
    if (!rest.empty() && (rest.front() == L'+' || rest.front() == L'-')) {
        negative = rest.front() == L'-';
        rest.remove_prefix(1);
    }
    int base = 10;
    if (!rest.empty() && rest.front() == L'$') {
        base = 16;
        rest.remove_prefix(1);
    } else if (rest.size() > 2 && rest[0] == L'0' && (rest[1] == L'x' || rest[1] == L'X')) {
        base = 16;
        rest.remove_prefix(2);
    }
    if (rest.empty()) return std::nullopt;

    // The magnitude, kept below the point where neither form can take it any more.
    const std::uint64_t limit = base == 16 ? 0xFFFFFFFFull : 0x80000000ull;
    std::uint64_t magnitude = 0;
    for (const wchar_t c : rest) {
        const int digit = base == 16 ? HexDigit(c) : (c >= L'0' && c <= L'9' ? c - L'0' : -1);
        if (digit < 0) return std::nullopt;
        magnitude = magnitude * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
        if (magnitude > limit) return std::nullopt;
    }
    if (base == 16) {
        // The 32-bit pattern, negated in 32 bits when a sign asks for it.
        std::uint32_t bits = static_cast<std::uint32_t>(magnitude);
        if (negative) bits = 0u - bits;
        return static_cast<std::int32_t>(bits);
    }
    if (!negative && magnitude > 0x7FFFFFFFull) return std::nullopt;
    return negative ? static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude))
                    : static_cast<std::int32_t>(magnitude);
}

std::int32_t IniIntegerOr(std::wstring_view text, std::int32_t fallback) {
    return ParseIniInteger(text).value_or(fallback);
}

std::wstring IniFlagText(bool set) {
    return set ? L"1" : L"0";
}

bool IniFlagOr(std::wstring_view text, bool fallback) {
    const auto value = ParseIniInteger(text);
    return value ? *value != 0 : fallback;
}

std::wstring StartingMailbox(std::wstring_view boxText, const std::vector<std::wstring>& listed) {
    if (boxText != kMailboxPlaceholder) return std::wstring(boxText);
    return listed.empty() ? std::wstring() : listed.front();
}

}  // namespace korvex

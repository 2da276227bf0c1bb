#include "JournalText.h"

#include <algorithm>
#include <climits>
#include <memory>

#include "FileSystem.h"
#include "UniqueResource.h"

namespace korvex::platform {

namespace {

struct MappedViewTraits {
    using Type = const void*;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type view) noexcept { UnmapViewOfFile(view); }
};
using UniqueMappedView = UniqueResource<MappedViewTraits>;

// Pieces of at most this many bytes go to the system at once (it counts in int), each cut before
// a byte that starts a character.
constexpr std::size_t kPieceBytes = std::size_t{1} << 28;

DWORD Decode(const char* bytes, std::size_t size, std::wstring& text) {
    text.clear();
    // UTF-8 never takes fewer bytes than UTF-16 code units: size is room enough.
    text.resize(size);
    std::size_t written = 0;
    while (size > 0) {
        std::size_t piece = std::min(size, kPieceBytes);
        if (piece < size) {
            std::size_t cut = piece;
            while (cut > piece - 4 && (static_cast<unsigned char>(bytes[cut]) & 0xC0) == 0x80) --cut;
            piece = cut;
        }
        const int n =
            MultiByteToWideChar(CP_UTF8, 0, bytes, static_cast<int>(piece), text.data() + written,
                                static_cast<int>(text.size() - written > INT_MAX ? INT_MAX : text.size() - written));
        if (n <= 0) return GetLastError();
        written += static_cast<std::size_t>(n);
        bytes += piece;
        size -= piece;
    }
    text.resize(written);
    return 0;
}

}  // namespace

DWORD ReadUtf8Text(std::wstring_view path, std::wstring& text) {
    text.clear();
    const UniqueFile file(CreateFileW(ToApiPath(path).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return GetLastError();
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) return GetLastError();
    if (size.QuadPart == 0) return 0;  // an empty file cannot be mapped
    if (static_cast<unsigned long long>(size.QuadPart) > SIZE_MAX / 4) return ERROR_NOT_ENOUGH_MEMORY;
    const UniqueHandle mapping(CreateFileMappingW(file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (!mapping) return GetLastError();
    const UniqueMappedView view(MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0));
    if (!view) return GetLastError();
    return Decode(static_cast<const char*>(view.get()), static_cast<std::size_t>(size.QuadPart), text);
}

const FoldTable& LowerCaseTable() {
    static const std::unique_ptr<const FoldTable> table = [] {
        auto units = std::make_unique<FoldTable>();
        for (std::size_t c = 0; c < units->size(); ++c) (*units)[c] = static_cast<wchar_t>(c);
        auto lower = std::make_unique<FoldTable>();
        // Surrogates and the terminator are no characters of their own: they keep themselves.
        const int n = LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_LOWERCASE, units->data() + 1, 0xD800 - 1,
                                    lower->data() + 1, 0xD800 - 1, nullptr, nullptr, 0);
        const int m = LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_LOWERCASE, units->data() + 0xE000, 0x2000,
                                    lower->data() + 0xE000, 0x2000, nullptr, nullptr, 0);
        if (n != 0xD800 - 1 || m != 0x2000) {
            // Code unit by code unit, by the user's rules.
            CharLowerBuffW(units->data() + 1, 0xD800 - 1);
            CharLowerBuffW(units->data() + 0xE000, 0x2000);
            return std::unique_ptr<const FoldTable>(std::move(units));
        }
        (*lower)[0] = 0;
        for (std::size_t c = 0xD800; c < 0xE000; ++c) (*lower)[c] = static_cast<wchar_t>(c);
        return std::unique_ptr<const FoldTable>(std::move(lower));
    }();
    return *table;
}

}  // namespace korvex::platform

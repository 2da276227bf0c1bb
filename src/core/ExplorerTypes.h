#pragma once
// The data of the explorer list: its rows and the small sets that describe them.

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>

namespace korvex {

// A set of enumeration values held as bits, value n in bit n.
template <typename E>
class EnumSet {
public:
    constexpr EnumSet() = default;
    constexpr EnumSet(std::initializer_list<E> values) {
        for (E v : values) Insert(v);
    }
    static constexpr EnumSet FromBits(std::uint8_t bits) {
        EnumSet s;
        s.bits_ = bits;
        return s;
    }
    constexpr bool Contains(E v) const { return bits_ & Bit(v); }
    constexpr void Insert(E v) { bits_ = static_cast<std::uint8_t>(bits_ | Bit(v)); }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr std::uint8_t Bits() const { return bits_; }
    constexpr bool operator==(const EnumSet&) const = default;

private:
    static constexpr std::uint8_t Bit(E v) { return static_cast<std::uint8_t>(1u << static_cast<unsigned>(v)); }
    std::uint8_t bits_ = 0;
};

// Attribute classes of entries that may be shown.
enum TFileAttr : std::uint8_t { ftReadOnly, ftHidden, ftSystem, ftArchive, ftNormal };
using TFileType = EnumSet<TFileAttr>;

// Kinds of entries, as the selection reports them.
enum TObjectType : std::uint8_t { otFile, otDirectory, otDisk };
using TObjectTypes = EnumSet<TObjectType>;

// The kind tags of sub-item 5.
inline constexpr wchar_t kKindDir[] = L"dir";
inline constexpr wchar_t kKindFile[] = L"file";
inline constexpr wchar_t kKindDrive[] = L"drv";

// What a row is compared by in a sort, worked out once when the row is made.
struct TSortKeys {
    bool ready = false;
    std::wstring name;   // the caption in upper case by the user's rules
    double column1 = 0;  // the values of the "Size" and "Modified" cells (in the drives view:
    double column3 = 0;  // "Type" and "Free Space")
};

// One row of the explorer list. Columns 1 to 4 show sub-items 0 to 3; sub-item 4 is the full
// path and sub-item 5 the kind tag.
struct TExplorerEntry {
    std::wstring caption;
    int imageIndex = 0;
    std::array<std::wstring, 6> subItems;
    TSortKeys sortKeys;

    const std::wstring& FullPath() const { return subItems[4]; }
    const std::wstring& Kind() const { return subItems[5]; }
    bool IsFolderBySize() const { return subItems[0] == L" "; }
};

// What the drive queries tell of one drive.
struct TDiskInfo {
    std::wstring Drive;  // letter and colon
    std::uint8_t DriveType = 0;
    std::uint32_t SectorsPerCluster = 0;
    std::uint32_t BytesPerSector = 0;
    std::uint32_t FreeClusters = 0;
    std::uint32_t TotalClusters = 0;
    std::int64_t TotalSize = 0;
    std::int64_t FreeSize = 0;
};

}  // namespace korvex

#pragma once
// The ordered list of files to send. No two entries have full paths that fold to the same text;
// the test uses an index of hashes of folded paths, so adding n files costs O(n).

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "HashedPositions.h"

namespace korvex {

// What the sends of this window made of an entry: shown in its "Отправлено" column.
enum class SentState { None, Started, Failed };
struct SentMark {
    SentState state = SentState::None;
    std::wstring text;              // the clock time of the start, or "ошибка: <system text>"
    std::wstring mailbox, address;  // of the send that made the mark
};

// An entry's place in one send of this list: the set of files that send numbered, to one mailbox
// and address. "Оставшиеся" finishes a set with the numbers it gave, whatever was added or removed
// since; files added later are not part of it.
struct SendPart {
    std::uint32_t set = 0;              // SendList::BeginSet's id
    std::size_t number = 0, count = 0;  // the entry's %i and %n in that set
    bool started = false;
    std::wstring startedAt;  // the clock time of the start, when started
};

struct SendListEntry {
    std::wstring fileName;        // after the last "\" or ":"
    std::wstring folder;          // up to the last "\" or ":", always ending in "\"
    std::wstring sizeText;        // fixed when the entry was added
    SentMark mark;                // kept while the entry stays in the list
    std::vector<SendPart> parts;  // every set the entry was numbered in, oldest first

    std::wstring FullPath() const { return folder + fileName; }
};

class SendList {
public:
    // Case folding of the platform (the product passes the system's; tests may pass a simple one).
    // It folds each character on its own, ASCII letters to their lower case, as every folding of
    // file names does: a path folded in pieces is the path folded whole.
    using FoldCase = std::function<std::wstring(std::wstring_view)>;

    explicit SendList(FoldCase fold);

    // Whether an entry with this full path is in the list, ignoring letter case and the "\\?\" or
    // "\\.\" prefix of a drive's or a server's path (see WithoutNamespacePrefix).
    bool Contains(std::wstring_view path) const;

    // Appends the file at path unless Contains(path); the entry's folder gets a trailing "\" and
    // loses such a prefix. Returns whether an entry was added.
    bool Add(std::wstring_view path, std::wstring sizeText);

    // The same with the path already split into a folder ending in "\" and a file name.
    bool Add(std::wstring_view folder, std::wstring_view fileName, std::wstring sizeText);

    void Clear();

    void SetMark(std::size_t position, SentMark mark) { entries_.at(position).mark = std::move(mark); }
    // Clears what the "Отправлено" column shows; the sets the entries were sent in are kept.
    void ClearMarks();
    // How many entries were started by any send of this list to this mailbox and address.
    std::size_t StartedTo(std::wstring_view mailbox, std::wstring_view address) const;

    // A new set to the mailbox and address: the entries at positions (ascending), numbered 1 to
    // numbers.size() in that order unless numbers gives each its own {number, count}.
    struct PartNumber {
        std::size_t number = 0, count = 0;
    };
    std::uint32_t BeginSet(std::wstring_view mailbox, std::wstring_view address,
                           const std::vector<std::size_t>& positions, const std::vector<PartNumber>& numbers = {});
    // Forgets a set that was begun but never sent.
    void DropSet(std::uint32_t set);
    // The latest set to this mailbox and address, 0 when there is none.
    std::uint32_t LatestSet(std::wstring_view mailbox, std::wstring_view address) const;
    // The entry's part in the set, or nullptr when it is not a member.
    const SendPart* PartIn(std::size_t position, std::uint32_t set) const;
    // Marks the entry's part in the set as started at the clock time.
    void SetStarted(std::size_t position, std::uint32_t set, std::wstring_view clock);
    // Whether the entry was started by any set to this mailbox and address.
    bool StartedTo(std::size_t position, std::wstring_view mailbox, std::wstring_view address) const;

    // Removes the entries at the given positions (any order, duplicates allowed); the others keep
    // their order.
    void RemoveAt(const std::vector<std::size_t>& positions);

    std::size_t Size() const noexcept { return entries_.size(); }
    bool Empty() const noexcept { return entries_.empty(); }
    const SendListEntry& operator[](std::size_t i) const { return entries_[i]; }
    const std::vector<SendListEntry>& Entries() const noexcept { return entries_; }

private:
    // Whether the entry at position has the full path whose folded text is folder + name.
    bool FoldsTo(std::size_t position, std::wstring_view folder, std::wstring_view name) const;

    struct SetTarget {
        std::uint32_t id = 0;
        std::wstring mailbox, address;
    };

    FoldCase fold_;
    std::vector<SendListEntry> entries_;
    std::vector<SetTarget> sets_;  // every set begun in this list, oldest first
    HashedPositions index_;        // every entry by the hash of its folded full path
    // The folder added to last, as given, with the form its entries take, that form folded and
    // its hash: a walk adds a whole folder's files in a row.
    std::wstring lastFolderGiven_, lastFolder_, lastFolderFolded_;
    std::uint64_t lastFolderHash_ = 0;
};

}  // namespace korvex

#pragma once
// The ordered list of files to send. No two entries have full paths that fold to the same text;
// the test uses an index of folded paths, so adding n files costs O(n).

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace korvex {

// What the sends of this window made of an entry: shown in its "Отправлено" column.
enum class SentState { None, Started, Failed };
struct SentMark {
    SentState state = SentState::None;
    std::wstring text;              // the clock time of the start, or "ошибка: <system text>"
    std::wstring mailbox, address;  // of the send that made the mark
};

struct SendListEntry {
    std::wstring fileName;  // after the last "\" or ":"
    std::wstring folder;    // up to the last "\" or ":", always ending in "\"
    std::wstring sizeText;  // fixed when the entry was added
    SentMark mark;          // kept while the entry stays in the list

    std::wstring FullPath() const { return folder + fileName; }
};

class SendList {
public:
    // Case folding of the platform (the product passes the system's; tests may pass a simple one).
    using FoldCase = std::function<std::wstring(std::wstring_view)>;

    explicit SendList(FoldCase fold);

    // Whether an entry with this full path is in the list, ignoring letter case.
    bool Contains(std::wstring_view path) const;

    // Appends the file at path unless Contains(path); the entry's folder gets a trailing "\".
    // Returns whether an entry was added.
    bool Add(std::wstring_view path, std::wstring sizeText);

    // The same with the path already split into a folder ending in "\" and a file name.
    bool Add(std::wstring_view folder, std::wstring_view fileName, std::wstring sizeText);

    void Clear();

    void SetMark(std::size_t position, SentMark mark) { entries_.at(position).mark = std::move(mark); }
    void ClearMarks();
    // How many entries were started by a send to this mailbox and address.
    std::size_t StartedTo(std::wstring_view mailbox, std::wstring_view address) const;

    // Removes the entries at the given positions (any order, duplicates allowed); the others keep
    // their order.
    void RemoveAt(const std::vector<std::size_t>& positions);

    std::size_t Size() const noexcept { return entries_.size(); }
    bool Empty() const noexcept { return entries_.empty(); }
    const SendListEntry& operator[](std::size_t i) const { return entries_[i]; }
    const std::vector<SendListEntry>& Entries() const noexcept { return entries_; }

private:
    FoldCase fold_;
    std::vector<SendListEntry> entries_;
    std::unordered_set<std::wstring> index_;
};

}  // namespace korvex

#include "SendList.h"

#include <algorithm>

#include "PathText.h"

namespace korvex {

SendList::SendList(FoldCase fold) : fold_(std::move(fold)) {}

bool SendList::Contains(std::wstring_view path) const {
    return index_.contains(fold_(path));
}

bool SendList::Add(std::wstring_view path, std::wstring sizeText) {
    // The index holds every entry's full path, so inserting the new one is the duplicate test.
    return Add(EnsureBackslash(ExtractFileDir(path)), ExtractFileName(path), std::move(sizeText));
}

bool SendList::Add(std::wstring_view folder, std::wstring_view fileName, std::wstring sizeText) {
    SendListEntry entry{std::wstring(fileName), EnsureBackslash(folder), std::move(sizeText), {}};
    if (!index_.insert(fold_(entry.FullPath())).second) return false;
    entries_.push_back(std::move(entry));
    return true;
}

void SendList::Clear() {
    entries_.clear();
    index_.clear();
}

void SendList::ClearMarks() {
    for (auto& entry : entries_) entry.mark = {};
}

std::size_t SendList::StartedTo(std::wstring_view mailbox, std::wstring_view address) const {
    return static_cast<std::size_t>(std::count_if(entries_.begin(), entries_.end(), [&](const SendListEntry& e) {
        return e.mark.state == SentState::Started && e.mark.mailbox == mailbox && e.mark.address == address;
    }));
}

void SendList::RemoveAt(const std::vector<std::size_t>& positions) {
    std::vector<bool> doomed(entries_.size(), false);
    for (auto p : positions)
        if (p < doomed.size()) doomed[p] = true;
    std::size_t out = 0;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (doomed[i]) {
            index_.erase(fold_(entries_[i].FullPath()));
        } else {
            if (out != i) entries_[out] = std::move(entries_[i]);
            ++out;
        }
    }
    entries_.resize(out);
}

}  // namespace korvex

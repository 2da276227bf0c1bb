#include "SendList.h"

#include <algorithm>

#include "PathText.h"

namespace korvex {

namespace {

// FNV-1a over the UTF-16 units; a hash of a text continues from the hash of what precedes it.
constexpr std::uint64_t kHashStart = 0xCBF29CE484222325ull;

std::uint64_t ContinueHash(std::uint64_t hash, wchar_t c) noexcept {
    return (hash ^ static_cast<std::uint16_t>(c)) * 0x100000001B3ull;
}

std::uint64_t ContinueHash(std::uint64_t hash, std::wstring_view text) noexcept {
    for (const wchar_t c : text) hash = ContinueHash(hash, c);
    return hash;
}

}  // namespace

SendList::SendList(FoldCase fold) : fold_(std::move(fold)) {}

bool SendList::FoldsTo(std::size_t position, std::wstring_view folder, std::wstring_view name) const {
    const std::wstring folded = fold_(entries_[position].FullPath());
    return folded.size() == folder.size() + name.size() &&
           std::wstring_view(folded).substr(0, folder.size()) == folder &&
           std::wstring_view(folded).substr(folder.size()) == name;
}

bool SendList::Contains(std::wstring_view path) const {
    const std::wstring folded = fold_(WithoutNamespacePrefix(path));
    return index_.Find(ContinueHash(kHashStart, folded),
                       [&](std::size_t position) { return FoldsTo(position, folded, {}); });
}

bool SendList::Add(std::wstring_view path, std::wstring sizeText) {
    // The index holds every entry's full path, so inserting the new one is the duplicate test.
    return Add(EnsureBackslash(ExtractFileDir(path)), ExtractFileName(path), std::move(sizeText));
}

bool SendList::Add(std::wstring_view folder, std::wstring_view fileName, std::wstring sizeText) {
    if (folder != lastFolderGiven_ || lastFolderGiven_.empty()) {
        // "\\?\C:\d\" and "\\.\C:\d\" are "C:\d\" in other words: one folder, held in the plain form.
        lastFolder_ = EnsureBackslash(WithoutNamespacePrefix(folder));
        lastFolderFolded_ = fold_(lastFolder_);
        lastFolderHash_ = ContinueHash(kHashStart, lastFolderFolded_);
        lastFolderGiven_ = folder;
    }
    // Most names are ASCII, which every folding maps to its lower case: hashed as folded without
    // a folded copy. The copy is made where the hash meets an entry's.
    std::uint64_t hash = lastFolderHash_;
    bool ascii = true;
    for (const wchar_t c : fileName) {
        if (c >= 0x80) {
            ascii = false;
            break;
        }
        hash = ContinueHash(hash, c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c);
    }
    std::wstring foldedName;
    if (!ascii) {
        foldedName = fold_(fileName);
        hash = ContinueHash(lastFolderHash_, foldedName);
    }
    const auto isSame = [&](std::size_t position) {
        if (ascii && foldedName.empty()) foldedName = fold_(fileName);
        return FoldsTo(position, lastFolderFolded_, foldedName);
    };
    if (index_.Find(hash, isSame)) return false;
    entries_.push_back({std::wstring(fileName), lastFolder_, std::move(sizeText), {}, {}});
    index_.Insert(hash, entries_.size() - 1);
    return true;
}

void SendList::Clear() {
    entries_.clear();
    index_.Clear();
    sets_.clear();
}

void SendList::ClearMarks() {
    for (auto& entry : entries_) entry.mark = {};
}

std::size_t SendList::StartedTo(std::wstring_view mailbox, std::wstring_view address) const {
    std::size_t started = 0;
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (StartedTo(i, mailbox, address)) ++started;
    return started;
}

bool SendList::StartedTo(std::size_t position, std::wstring_view mailbox, std::wstring_view address) const {
    for (const SendPart& part : entries_.at(position).parts) {
        if (!part.started) continue;
        const auto target =
            std::find_if(sets_.begin(), sets_.end(), [&](const SetTarget& t) { return t.id == part.set; });
        if (target != sets_.end() && target->mailbox == mailbox && target->address == address) return true;
    }
    return false;
}

std::uint32_t SendList::BeginSet(std::wstring_view mailbox, std::wstring_view address,
                                 const std::vector<std::size_t>& positions, const std::vector<PartNumber>& numbers) {
    const std::uint32_t id = sets_.empty() ? 1 : sets_.back().id + 1;
    sets_.push_back({id, std::wstring(mailbox), std::wstring(address)});
    for (std::size_t k = 0; k < positions.size(); ++k) {
        const PartNumber number = k < numbers.size() ? numbers[k] : PartNumber{k + 1, positions.size()};
        entries_.at(positions[k]).parts.push_back({id, number.number, number.count, false, {}});
    }
    return id;
}

void SendList::DropSet(std::uint32_t set) {
    for (auto& entry : entries_) std::erase_if(entry.parts, [&](const SendPart& part) { return part.set == set; });
    std::erase_if(sets_, [&](const SetTarget& target) { return target.id == set; });
}

std::uint32_t SendList::LatestSet(std::wstring_view mailbox, std::wstring_view address) const {
    for (auto it = sets_.rbegin(); it != sets_.rend(); ++it)
        if (it->mailbox == mailbox && it->address == address) return it->id;
    return 0;
}

const SendPart* SendList::PartIn(std::size_t position, std::uint32_t set) const {
    for (const SendPart& part : entries_.at(position).parts)
        if (part.set == set) return &part;
    return nullptr;
}

void SendList::SetStarted(std::size_t position, std::uint32_t set, std::wstring_view clock) {
    for (SendPart& part : entries_.at(position).parts) {
        if (part.set != set) continue;
        part.started = true;
        part.startedAt = clock;
    }
}

void SendList::RemoveAt(const std::vector<std::size_t>& positions) {
    std::vector<std::size_t> moved(entries_.size(), 0);
    for (auto p : positions)
        if (p < moved.size()) moved[p] = HashedPositions::kDropped;
    std::size_t out = 0;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (moved[i] == HashedPositions::kDropped) continue;
        moved[i] = out;
        if (out != i) entries_[out] = std::move(entries_[i]);
        ++out;
    }
    entries_.resize(out);
    index_.Renumber([&](std::size_t position) { return moved[position]; });
}

}  // namespace korvex

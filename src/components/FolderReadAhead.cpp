#include "FolderReadAhead.h"

#include <utility>

#include "ExplorerText.h"

namespace korvex::components {

TExplorerEntry MakeRowTexts(const std::wstring& folder, const platform::FolderEntryView& found, const OrderFacts& facts,
                            const platform::LocalTimeConverter& localTime) {
    const bool isFolder = found.attributes & FILE_ATTRIBUTE_DIRECTORY;
    TExplorerEntry entry;
    entry.caption = found.name;
    entry.subItems[4] = folder + entry.caption;
    const std::uint64_t size = isFolder ? 0 : found.size;
    entry.subItems[0] = isFolder ? L" " : std::to_wstring(size);
    entry.subItems[2] = ModifiedTimeText(localTime(found.lastWrite), facts.dateSeparator, facts.timeSeparator);
    entry.subItems[3] = AttributeLetters(found.attributes);
    entry.subItems[5] = isFolder ? kKindDir : kKindFile;
    PrepareSortKeys(entry, facts, static_cast<double>(size));
    return entry;
}

FolderReadAhead::FolderReadAhead(std::wstring folder, OrderFacts facts, std::function<void()> beforeReading)
    : folder_(std::move(folder)),
      facts_(std::move(facts)),
      beforeReading_(std::move(beforeReading)),
      thread_([this] { List(); }) {}

FolderReadAhead::~FolderReadAhead() {
    Wait();
}

void FolderReadAhead::Wait() {
    if (thread_.joinable()) thread_.join();
}

bool FolderReadAhead::WaitFor(std::chrono::milliseconds limit) {
    {
        std::unique_lock lock(mutex_);
        if (!endedChanged_.wait_for(lock, limit, [this] { return ended_; })) return false;
    }
    Wait();  // the thread has nothing left to do but end
    return true;
}

bool FolderReadAhead::Listed() {
    Wait();
    return rows_.has_value();
}

void FolderReadAhead::List() noexcept {
    const struct EndSignal {
        FolderReadAhead& self;
        ~EndSignal() {
            const std::lock_guard lock(self.mutex_);
            self.ended_ = true;
            self.endedChanged_.notify_all();
        }
    } endSignal{*this};
    try {
        if (beforeReading_) beforeReading_();
        std::vector<ReadAheadRow> rows;
        const platform::LocalTimeConverter localTime;
        const bool read = platform::EnumerateDirectory(folder_ + L"*.*", [&](const WIN32_FIND_DATAW& d) {
            const platform::FolderEntryView view = platform::ViewOf(d);
            if (view.name == L"." || view.name == L"..") return;
            rows.push_back({MakeRowTexts(folder_, view, facts_, localTime), view.attributes, view.lastWrite});
        });
        if (read) rows_ = std::move(rows);
    } catch (const std::exception&) {
        // Out of memory: nothing is handed over, and the explorer lists the folder itself.
        rows_.reset();
    }
}

std::optional<std::vector<ReadAheadRow>> FolderReadAhead::Take() {
    Wait();
    return std::exchange(rows_, std::nullopt);
}

}  // namespace korvex::components

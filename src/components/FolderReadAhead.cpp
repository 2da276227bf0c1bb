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
    const LocalTime modified = localTime(found.lastWrite);
    entry.subItems[2] = ModifiedTimeText(modified, facts.dateOrder, facts.dateSeparator, facts.timeSeparator);
    entry.subItems[3] = AttributeLetters(found.attributes);
    entry.subItems[5] = isFolder ? kKindDir : kKindFile;
    // The keys from the numbers the texts were written from: nothing is read back.
    PrepareSortKeys(entry, facts, static_cast<double>(size), ModifiedTimeValue(modified));
    return entry;
}

FolderReadAhead::FolderReadAhead(std::wstring folder, OrderFacts facts, std::function<void()> beforeReading)
    : listing_(std::make_shared<Listing>()) {
    listing_->folder = std::move(folder);
    listing_->facts = std::move(facts);
    listing_->beforeReading = std::move(beforeReading);
    thread_ = std::thread([listing = listing_] { List(listing); });
}

FolderReadAhead::~FolderReadAhead() {
    if (thread_.joinable() && !WaitFor(std::chrono::milliseconds(0))) thread_.detach();
}

void FolderReadAhead::Wait() {
    if (thread_.joinable()) thread_.join();
}

bool FolderReadAhead::WaitFor(std::chrono::milliseconds limit) {
    {
        std::unique_lock lock(listing_->mutex);
        if (!listing_->endedChanged.wait_for(lock, limit, [this] { return listing_->ended; })) return false;
    }
    Wait();  // the thread has nothing left to do but end
    return true;
}

bool FolderReadAhead::Listed() {
    Wait();
    return listing_->rows.has_value();
}

void FolderReadAhead::List(const std::shared_ptr<Listing>& listing) noexcept {
    Listing& l = *listing;
    const struct EndSignal {
        Listing& l;
        ~EndSignal() {
            const std::lock_guard lock(l.mutex);
            l.ended = true;
            l.endedChanged.notify_all();
        }
    } endSignal{l};
    try {
        if (l.beforeReading) l.beforeReading();
        std::vector<ReadAheadRow> rows;
        const platform::LocalTimeConverter localTime;
        const bool read = platform::EnumerateDirectory(l.folder + L"*.*", [&](const WIN32_FIND_DATAW& d) {
            const platform::FolderEntryView view = platform::ViewOf(d);
            if (view.name == L"." || view.name == L"..") return;
            rows.push_back({MakeRowTexts(l.folder, view, l.facts, localTime), view.attributes, view.lastWrite});
        });
        if (read) l.rows = std::move(rows);
    } catch (const std::exception&) {
        // Out of memory: nothing is handed over, and the explorer lists the folder itself.
        l.rows.reset();
    }
}

std::optional<std::vector<ReadAheadRow>> FolderReadAhead::Take() {
    Wait();
    return std::exchange(listing_->rows, std::nullopt);
}

}  // namespace korvex::components

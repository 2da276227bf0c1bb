#include "EnumerateFolder.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "UniqueResource.h"

namespace korvex::platform {

namespace {

// Entries read on this thread before the rest is left to a reader: a folder this small is read
// sooner than a thread starts.
constexpr int kReadHere = 512;
// Entries the reader hands over at a time.
constexpr std::size_t kBatch = 256;

struct OwnedEntry {
    std::wstring name;
    DWORD attributes = 0;
    FILETIME lastWrite{};
    std::uint64_t size = 0;
};

// Reads the rest of a search on a thread of its own, from the entry the search holds now. The
// search stays its caller's, who must not touch it before the reader is gone.
class AheadReader {
public:
    AheadReader(HANDLE find, const WIN32_FIND_DATAW& current)
        : find_(find), current_(current), thread_([this] { Read(); }) {}
    ~AheadReader() {
        {
            const std::lock_guard lock(mutex_);
            stop_ = true;
        }
        thread_.join();
    }
    AheadReader(const AheadReader&) = delete;
    AheadReader& operator=(const AheadReader&) = delete;

    // The next batch, waiting for it; false once everything was handed over.
    bool Next(std::vector<OwnedEntry>& batch) {
        std::unique_lock lock(mutex_);
        ready_.wait(lock, [&] { return !batches_.empty() || done_; });
        if (batches_.empty()) return false;
        batch = std::move(batches_.front());
        batches_.pop_front();
        return true;
    }

private:
    void Read() noexcept {
        std::vector<OwnedEntry> batch;
        bool more = true;
        try {
            while (more) {
                batch.reserve(kBatch);
                while (more && batch.size() < kBatch) {
                    batch.push_back({current_.cFileName, current_.dwFileAttributes, current_.ftLastWriteTime,
                                     FindDataSize(current_)});
                    more = FindNextFileW(find_, &current_) != FALSE;
                }
                const std::lock_guard lock(mutex_);
                if (stop_) break;
                batches_.push_back(std::exchange(batch, {}));
                ready_.notify_one();
            }
        } catch (const std::exception&) {
            // Out of memory: the listing ends with what was handed over.
        }
        const std::lock_guard lock(mutex_);
        done_ = true;
        ready_.notify_one();
    }

    HANDLE find_;
    WIN32_FIND_DATAW current_;  // the thread's own once it runs
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<std::vector<OwnedEntry>> batches_;
    bool stop_ = false;
    bool done_ = false;
    std::thread thread_;  // last: started once the members above are there
};

}  // namespace

bool EnumerateFolder(std::wstring_view pattern, const std::function<void(const FolderEntryView&)>& onEntry) {
    WIN32_FIND_DATAW data;
    UniqueFind find(FindFirstFileExW(ToApiPath(pattern).c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                     FIND_FIRST_EX_LARGE_FETCH));
    if (!find) return false;
    for (int i = 0; i < kReadHere; ++i) {
        onEntry(ViewOf(data));
        if (!FindNextFileW(find.get(), &data)) return true;
    }
    // data holds the next entry, not yet given.
    std::optional<AheadReader> reader;
    try {
        reader.emplace(find.get(), data);
    } catch (const std::system_error&) {
        // No thread to be had: the rest is read here.
        do onEntry(ViewOf(data));
        while (FindNextFileW(find.get(), &data));
        return true;
    }
    std::vector<OwnedEntry> batch;
    while (reader->Next(batch))
        for (const OwnedEntry& entry : batch) onEntry({entry.name, entry.attributes, entry.lastWrite, entry.size});
    return true;
}

}  // namespace korvex::platform

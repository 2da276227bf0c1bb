#pragma once
// A folder's listing begun on a thread of its own: the entries read and their rows made as far
// as they need no shell (names, sizes, times, attributes, sort keys). The main window starts one
// for its saved folder before it builds its controls, which take as long as reading a big folder;
// the explorer then only adds each row's type and icon.

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "EntryOrder.h"
#include "ExplorerTypes.h"
#include "EnumerateFolder.h"
#include "Locale.h"

namespace korvex::components {

// A row of a folder's entry with everything but its type name, its icon and its questions to the
// shell. folder ends in "\".
TExplorerEntry MakeRowTexts(const std::wstring& folder, const platform::FolderEntryView& found, const OrderFacts& facts,
                            const platform::LocalTimeConverter& localTime);

struct ReadAheadRow {
    TExplorerEntry entry;  // as MakeRowTexts made it
    DWORD attributes = 0;
    FILETIME lastWrite{};
};

class FolderReadAhead {
public:
    // Starts listing the folder (ending in "\", any length) with the facts of the user's locale.
    // beforeReading, if given, runs on the listing's thread first.
    FolderReadAhead(std::wstring folder, OrderFacts facts, std::function<void()> beforeReading = {});
    // A listing that has not ended goes on by itself and ends unseen: a folder that does not
    // answer (a share whose server is gone) holds nobody who lets go of it.
    ~FolderReadAhead();
    FolderReadAhead(const FolderReadAhead&) = delete;
    FolderReadAhead& operator=(const FolderReadAhead&) = delete;

    const std::wstring& Folder() const noexcept { return listing_->folder; }
    // Waits for the listing to end.
    void Wait();
    // Waits at most limit; whether the listing has ended.
    bool WaitFor(std::chrono::milliseconds limit);
    // Waits for the listing; whether it has rows to hand over (the folder could be read).
    bool Listed();
    // Waits for the listing and hands over its rows in the file system's order, "." and ".."
    // left out; nothing when the folder could not be read or the listing failed (the caller then
    // lists the folder itself). Once only: a second call has nothing.
    std::optional<std::vector<ReadAheadRow>> Take();

private:
    // What the listing's thread works on, shared with it so that it may outlive the object.
    struct Listing {
        std::wstring folder;
        OrderFacts facts;
        std::function<void()> beforeReading;
        std::optional<std::vector<ReadAheadRow>> rows;  // the thread's until ended is set
        std::mutex mutex;
        std::condition_variable endedChanged;
        bool ended = false;
    };
    static void List(const std::shared_ptr<Listing>& listing) noexcept;

    std::shared_ptr<Listing> listing_;
    std::thread thread_;  // last: started once the listing is there
};

}  // namespace korvex::components

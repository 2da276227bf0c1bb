#pragma once
// A folder's listing begun on a thread of its own: the entries read and their rows made as far
// as they need no shell (names, sizes, times, attributes, sort keys). The main window starts one
// for its saved folder before it builds its controls, which take as long as reading a big folder;
// the explorer then only adds each row's type and icon.

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <functional>
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
    // Waits for the listing to end.
    ~FolderReadAhead();
    FolderReadAhead(const FolderReadAhead&) = delete;
    FolderReadAhead& operator=(const FolderReadAhead&) = delete;

    const std::wstring& Folder() const noexcept { return folder_; }
    // Waits for the listing to end.
    void Wait();
    // Waits at most limit; whether the listing has ended.
    bool WaitFor(std::chrono::milliseconds limit);
    // Once the listing has ended: whether it has rows to hand over (the folder could be read).
    bool Listed();
    // Waits for the listing and hands over its rows in the file system's order, "." and ".."
    // left out; nothing when the folder could not be read or the listing failed (the caller then
    // lists the folder itself). Once only: a second call has nothing.
    std::optional<std::vector<ReadAheadRow>> Take();

private:
    void List() noexcept;

    std::wstring folder_;
    OrderFacts facts_;
    std::function<void()> beforeReading_;
    std::optional<std::vector<ReadAheadRow>> rows_;  // written by the thread until ended_ is set
    std::mutex mutex_;
    std::condition_variable endedChanged_;
    bool ended_ = false;
    std::thread thread_;  // last: started once the members above are there
};

}  // namespace korvex::components

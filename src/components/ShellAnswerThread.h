#pragma once
// The explorer's one background thread for the shell's questions that are asked per path (a
// file's own icon, a marked folder's, a slow drive's name, icon and sizes), which may take long:
// an executable's icon is read from its resources, a network drive answers slowly, and under Wine
// each question costs more the larger the folder. The window's thread hands it a job, the rows in
// the order they should be asked; it asks them one by one and keeps the answers for the window's
// thread, which it wakes with a posted message (one at a time, at most every few tens of
// milliseconds) and which takes them with Take.
//
// A new job or Cancel drops what is outstanding: an answer of an older job is never handed out.
// The thread is joined by the destructor, and the answers not yet taken are freed with the object,
// so nothing outlives it and nothing leaks when the window is gone first.

#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "ExplorerTypes.h"
#include "ShellInfo.h"

namespace korvex::components {

// What is asked of the shell about a path.
enum class ShellQuestion : std::uint8_t {
    own,    // the entry's own icon and type name
    type,   // the same, of the first file of a type: the answer becomes its type's
    drive,  // a drive's display name and icon, and its sizes
};

struct ShellRequest {
    std::uint32_t row = 0;  // the row the answer is for
    std::wstring path;      // a file or folder, or a drive's root
    DWORD attributes = 0;
    FILETIME lastWrite{};
    ShellQuestion question = ShellQuestion::own;
};

struct ShellAnswer {
    ShellRequest request;
    platform::ShellItemInfo info;
    TDiskInfo disk;        // drives only
    bool answered = true;  // false: the question failed, the row keeps what it shows
};

class ShellAnswerThread {
public:
    // Runs on the thread, for one request: fills the answer. An exception leaves the answer empty.
    using Ask = std::function<void(const ShellRequest&, ShellAnswer&)>;

    // notify/message: the window woken when answers are ready (a posted message without data).
    ShellAnswerThread(HWND notify, UINT message, Ask ask);
    ~ShellAnswerThread();
    ShellAnswerThread(const ShellAnswerThread&) = delete;
    ShellAnswerThread& operator=(const ShellAnswerThread&) = delete;

    // Drops whatever is outstanding and asks these, in this order.
    void Start(std::vector<ShellRequest> requests);
    // Adds requests to the job under way (or starts one when the last has ended).
    void Add(std::vector<ShellRequest> requests);
    // Moves the requests of these rows, the ones in view, to the front of what is left.
    void Prefer(const std::vector<std::uint32_t>& rows);
    // Nothing more is asked or handed out.
    void Cancel() { Start({}); }
    // The answers ready, in the order they were given; the next wake is posted after this.
    std::vector<ShellAnswer> Take();
    // Requests not asked yet, one being asked, or answers not taken yet.
    bool Outstanding() const;
    // How many questions the thread has asked, in all.
    std::size_t Asked() const;
    // How many of these threads run in the process now.
    static int Running() noexcept { return running_.load(); }

private:
    void Run();
    bool HasWork() const { return !preferred_.empty() || next_ < requests_.size(); }
    std::size_t NextIndex();
    void Wake(bool now);

    const HWND notify_;
    const UINT message_;
    const Ask ask_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool stop_ = false;
    std::uint64_t job_ = 0;
    std::vector<ShellRequest> requests_;
    std::vector<bool> taken_;  // by request index
    std::unordered_map<std::uint32_t, std::size_t> indexOfRow_;
    std::deque<std::size_t> preferred_;
    std::size_t next_ = 0;
    bool asking_ = false;
    std::size_t asked_ = 0;
    std::vector<ShellAnswer> ready_;
    bool wakePosted_ = false;
    std::uint64_t lastWake_ = 0;  // GetTickCount64 of the last wake
    static inline std::atomic<int> running_{0};
    std::thread thread_;  // last: started once everything above is there
};

}  // namespace korvex::components

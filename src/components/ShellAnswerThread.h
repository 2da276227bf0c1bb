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
// The destructor never waits for the shell: what the thread works on is shared with it, so a
// thread caught inside a question (a network drive whose server is gone answers only after the
// network's time-out) is let go and ends alone once the question returns, asking nothing more,
// handing nothing out and posting nothing. A thread that is not inside a question is joined, which
// takes no time. Either way the window is never woken again once the object is gone, so a window
// destroyed right after it receives nothing.

#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
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
    // How many of these threads serve an object now.
    static int Running() noexcept { return running_.load(); }
    // How many threads were let go inside a question and have not come out of it yet.
    static int Ending() noexcept { return ending_.load(); }

private:
    // What the thread works on, shared with it so that it may outlive the object.
    struct State {
        State(HWND notify, UINT message, Ask ask) : notify(notify), message(message), ask(std::move(ask)) {}
        bool HasWork() const { return !preferred.empty() || next < requests.size(); }
        std::size_t NextIndex();
        void Wake(bool now);

        const HWND notify;
        const UINT message;
        const Ask ask;
        mutable std::mutex mutex;
        std::condition_variable changed;
        bool stop = false;   // the object is gone: nothing more is asked, handed out or posted
        bool letGo = false;  // it went while the thread was inside a question
        std::uint64_t job = 0;
        std::vector<ShellRequest> requests;
        std::vector<bool> taken;  // by request index
        std::unordered_map<std::uint32_t, std::size_t> indexOfRow;
        std::deque<std::size_t> preferred;
        std::size_t next = 0;
        bool asking = false;
        std::size_t asked = 0;
        std::vector<ShellAnswer> ready;
        bool wakePosted = false;
        std::uint64_t lastWake = 0;  // GetTickCount64 of the last wake
    };
    static void Run(const std::shared_ptr<State>& state) noexcept;

    std::shared_ptr<State> state_;
    static inline std::atomic<int> running_{0};
    static inline std::atomic<int> ending_{0};
    std::thread thread_;  // last: started once the state is there
};

}  // namespace korvex::components

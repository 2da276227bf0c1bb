#include "ShellAnswerThread.h"

#include <objbase.h>

#include <utility>

#include "ComSession.h"
#include "Drives.h"
#include "UniqueResource.h"

namespace korvex::components {

namespace {

// The window's thread is woken once this many answers wait, or once the oldest has waited this long.
constexpr std::size_t kBatch = 64;
constexpr std::uint64_t kBatchMs = 30;

}  // namespace

ShellAnswerThread::ShellAnswerThread(HWND notify, UINT message, Ask ask)
    : state_(std::make_shared<State>(notify, message, std::move(ask))), thread_([state = state_] { Run(state); }) {
    ++running_;
}

ShellAnswerThread::~ShellAnswerThread() {
    bool inQuestion = false;
    {
        const std::lock_guard lock(state_->mutex);
        state_->stop = true;
        inQuestion = state_->asking;
        // Counted here, under the lock the thread takes when its question returns: it cannot
        // have come out of it before.
        if (inQuestion) {
            state_->letGo = true;
            ++ending_;
        }
    }
    state_->changed.notify_all();
    --running_;
    if (!thread_.joinable()) return;
    // A thread inside a question may stay there as long as the shell pleases; any other is on
    // its way out and is waited for.
    if (inQuestion)
        thread_.detach();
    else
        thread_.join();
}

void ShellAnswerThread::Start(std::vector<ShellRequest> requests) {
    {
        State& s = *state_;
        const std::lock_guard lock(s.mutex);
        ++s.job;
        s.requests.clear();
        s.taken.clear();
        s.indexOfRow.clear();
        s.preferred.clear();
        s.next = 0;
        s.ready.clear();
    }
    Add(std::move(requests));
}

void ShellAnswerThread::Add(std::vector<ShellRequest> requests) {
    if (requests.empty()) return;
    State& s = *state_;
    {
        const std::lock_guard lock(s.mutex);
        for (auto& request : requests) {
            s.indexOfRow[request.row] = s.requests.size();
            s.requests.push_back(std::move(request));
        }
        s.taken.resize(s.requests.size(), false);
    }
    s.changed.notify_all();
}

void ShellAnswerThread::Prefer(const std::vector<std::uint32_t>& rows) {
    State& s = *state_;
    {
        const std::lock_guard lock(s.mutex);
        // The latest rows in view go first: in front of the ones preferred before.
        for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
            const auto found = s.indexOfRow.find(*row);
            if (found != s.indexOfRow.end() && !s.taken[found->second]) s.preferred.push_front(found->second);
        }
    }
    s.changed.notify_all();
}

std::vector<ShellAnswer> ShellAnswerThread::Take() {
    const std::lock_guard lock(state_->mutex);
    state_->wakePosted = false;
    return std::exchange(state_->ready, {});
}

bool ShellAnswerThread::Outstanding() const {
    const std::lock_guard lock(state_->mutex);
    return state_->asking || !state_->ready.empty() || state_->HasWork();
}

std::size_t ShellAnswerThread::Asked() const {
    const std::lock_guard lock(state_->mutex);
    return state_->asked;
}

std::size_t ShellAnswerThread::State::NextIndex() {
    while (!preferred.empty()) {
        const std::size_t i = preferred.front();
        preferred.pop_front();
        if (!taken[i]) return i;
    }
    while (next < requests.size() && taken[next]) ++next;
    return next < requests.size() ? next++ : requests.size();
}

void ShellAnswerThread::State::Wake(bool now) {
    // Under the lock. One wake at a time: the window's thread takes everything there is. Once the
    // object is gone the window may be too (or its handle another window's): nothing is posted.
    if (stop || wakePosted || ready.empty()) return;
    const std::uint64_t tick = GetTickCount64();
    if (!now && ready.size() < kBatch && tick - lastWake < kBatchMs) return;
    lastWake = tick;
    wakePosted = PostMessageW(notify, message, 0, 0) != FALSE;
}

void ShellAnswerThread::Run(const std::shared_ptr<State>& state) noexcept {
    State& s = *state;
    // COM for this thread's own use: the shell's questions need it.
    const platform::ComSession com(COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    const platform::QuietDriveErrors quiet;
    std::unique_lock lock(s.mutex);
    for (;;) {
        // About to wait for work: whatever is ready is handed over now.
        if (!s.HasWork()) s.Wake(true);
        s.changed.wait(lock, [&s] { return s.stop || s.HasWork(); });
        if (s.stop) return;
        const std::size_t index = s.NextIndex();
        if (index >= s.requests.size()) continue;
        s.taken[index] = true;
        const std::uint64_t job = s.job;
        ShellAnswer answer{s.requests[index], {}, {}, true};
        s.asking = true;
        lock.unlock();
        try {
            s.ask(answer.request, answer);
        } catch (...) {
            answer.answered = false;  // the row keeps what it shows
        }
        lock.lock();
        s.asking = false;
        ++s.asked;
        if (s.stop) {
            // The object went meanwhile: its answer is of no use to anybody.
            if (s.letGo) --ending_;
            return;
        }
        if (job != s.job) continue;  // dropped meanwhile
        s.ready.push_back(std::move(answer));
        s.Wake(!s.HasWork());
    }
}

}  // namespace korvex::components

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
    : notify_(notify), message_(message), ask_(std::move(ask)), thread_([this] { Run(); }) {}

ShellAnswerThread::~ShellAnswerThread() {
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void ShellAnswerThread::Start(std::vector<ShellRequest> requests) {
    {
        const std::lock_guard lock(mutex_);
        ++job_;
        requests_.clear();
        taken_.clear();
        indexOfRow_.clear();
        preferred_.clear();
        next_ = 0;
        ready_.clear();
    }
    Add(std::move(requests));
}

void ShellAnswerThread::Add(std::vector<ShellRequest> requests) {
    if (requests.empty()) return;
    {
        const std::lock_guard lock(mutex_);
        for (auto& request : requests) {
            indexOfRow_[request.row] = requests_.size();
            requests_.push_back(std::move(request));
        }
        taken_.resize(requests_.size(), false);
    }
    changed_.notify_all();
}

void ShellAnswerThread::Prefer(const std::vector<std::uint32_t>& rows) {
    {
        const std::lock_guard lock(mutex_);
        // The latest rows in view go first: in front of the ones preferred before.
        for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
            const auto found = indexOfRow_.find(*row);
            if (found != indexOfRow_.end() && !taken_[found->second]) preferred_.push_front(found->second);
        }
    }
    changed_.notify_all();
}

std::vector<ShellAnswer> ShellAnswerThread::Take() {
    const std::lock_guard lock(mutex_);
    wakePosted_ = false;
    return std::exchange(ready_, {});
}

bool ShellAnswerThread::Outstanding() const {
    const std::lock_guard lock(mutex_);
    return asking_ || !ready_.empty() || HasWork();
}

std::size_t ShellAnswerThread::Asked() const {
    const std::lock_guard lock(mutex_);
    return asked_;
}

std::size_t ShellAnswerThread::NextIndex() {
    while (!preferred_.empty()) {
        const std::size_t i = preferred_.front();
        preferred_.pop_front();
        if (!taken_[i]) return i;
    }
    while (next_ < requests_.size() && taken_[next_]) ++next_;
    return next_ < requests_.size() ? next_++ : requests_.size();
}

void ShellAnswerThread::Wake(bool now) {
    // Under the lock. One wake at a time: the window's thread takes everything there is.
    if (wakePosted_ || ready_.empty()) return;
    const std::uint64_t tick = GetTickCount64();
    if (!now && ready_.size() < kBatch && tick - lastWake_ < kBatchMs) return;
    lastWake_ = tick;
    // A window that is gone takes nothing: the answers stay here until the object goes.
    wakePosted_ = PostMessageW(notify_, message_, 0, 0) != FALSE;
}

void ShellAnswerThread::Run() {
    ++running_;
    const platform::ScopeExit leave([] { --running_; });
    // COM for this thread's own use: the shell's questions need it.
    const platform::ComSession com(COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    const platform::QuietDriveErrors quiet;
    std::unique_lock lock(mutex_);
    for (;;) {
        // About to wait for work: whatever is ready is handed over now.
        if (!HasWork()) Wake(true);
        changed_.wait(lock, [this] { return stop_ || HasWork(); });
        if (stop_) return;
        const std::size_t index = NextIndex();
        if (index >= requests_.size()) continue;
        taken_[index] = true;
        const std::uint64_t job = job_;
        ShellAnswer answer{requests_[index], {}, {}, true};
        asking_ = true;
        lock.unlock();
        try {
            ask_(answer.request, answer);
        } catch (...) {
            answer.answered = false;  // the row keeps what it shows
        }
        lock.lock();
        asking_ = false;
        ++asked_;
        if (stop_) return;
        if (job != job_) continue;  // dropped meanwhile
        ready_.push_back(std::move(answer));
        Wake(!HasWork());
    }
}

}  // namespace korvex::components

#include "ChildReaper.h"

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <sys/wait.h>
#include <thread>

namespace ChildReaper {

namespace {

struct Reaped {
    std::mutex mutex;
    std::condition_variable changed;
    std::set<pid_t> pids;
};

// Never destroyed: a waiting thread may finish while the process is exiting.
Reaped& reaped() {
    static auto* state = new Reaped;
    return *state;
}

// Reaped children nobody asked about are forgotten past this many.
constexpr std::size_t remembered = 256;

} // namespace

void adopt(pid_t pid, std::function<void(int status)> ended) {
    if (pid <= 0) return;
    // One waiting thread per launched program: launches are rare, and a blocking waitpid on
    // one pid leaves every other child (QProcess's too) to its own owner.
    std::thread([pid, ended = std::move(ended)] {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        Reaped& state = reaped();
        {
            std::lock_guard lock(state.mutex);
            if (state.pids.size() >= remembered) state.pids.erase(state.pids.begin());
            state.pids.insert(pid);
        }
        state.changed.notify_all();
        if (ended) ended(status);
    }).detach();
}

bool waitUntilReaped(pid_t pid, int timeoutMs) {
    Reaped& state = reaped();
    std::unique_lock lock(state.mutex);
    const bool done = state.changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                             [&] { return state.pids.count(pid) > 0; });
    if (done) state.pids.erase(pid);
    return done;
}

} // namespace ChildReaper

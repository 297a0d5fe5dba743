#include "Hotkey/BindingsLookup.h"

#include "Support/LocalDisk.h"
#include "Support/ThreadName.h"

#include <condition_variable>
#include <mutex>
#include <optional>

namespace {
using Clock = std::chrono::steady_clock;
}

// Owned jointly by the lookup and its reader thread, so that a thread left hanging in a read
// still has everything it touches once the lookup is gone.
struct BindingsLookup::Shared {
    Shared(Read r, IsLocal l) : read(std::move(r)), isLocal(std::move(l)) {}

    const Read read;
    const IsLocal isLocal;
    std::mutex mutex;
    std::condition_variable requested;
    std::condition_variable answered;
    std::optional<std::pair<QString, QString>> request;
    bool reading = false;
    bool asking = false; // whether the folder's file system is being asked about
    bool stopping = false;
    std::uint64_t asked = 0;
    std::uint64_t done = 0;
    KeyBindingStore::Lookup result;
    // What the reader thread last found about a path's folder, and until when that holds.
    QString verdictPath;
    bool verdictLocal = false;
    Clock::time_point verdictUntil;

    bool verdictHolds(const QString& path, Clock::time_point now) const {
        return now < verdictUntil && path == verdictPath;
    }

    void run() {
        ThreadName::setCurrent(QStringLiteral("kestavon.hotkey.read"));
        std::unique_lock lock(mutex);
        for (;;) {
            requested.wait(lock, [this] { return stopping || request; });
            if (stopping) return;
            const auto [path, keyID] = std::move(*request);
            request.reset();
            lock.unlock();
            KeyBindingStore::Lookup found = read(path, keyID);
            lock.lock();
            result = std::move(found);
            ++done;
            reading = false;
            answered.notify_all();
            // Asked after the answer is out: the stroke does not wait for it, and a folder that
            // hangs here holds only later strokes, which see a read under way and pass.
            if (isLocal && !verdictHolds(path, Clock::now())) {
                asking = true;
                lock.unlock();
                const bool local = isLocal(path);
                lock.lock();
                verdictPath = path;
                verdictLocal = local;
                verdictUntil = Clock::now() + localVerdictLifetime;
                asking = false;
                answered.notify_all();
            }
        }
    }
};

BindingsLookup::BindingsLookup()
    : BindingsLookup(
          [](const QString& path, const QString& keyID) { return KeyBindingStore::lookup(path, keyID); },
          defaultDeadline, &LocalDisk::holdsFolderOf) {}

BindingsLookup::BindingsLookup(Read read, std::chrono::milliseconds deadline, IsLocal isLocal)
    : shared_(std::make_shared<Shared>(std::move(read), std::move(isLocal))), deadline_(deadline) {}

BindingsLookup::~BindingsLookup() {
    if (!reader_.joinable()) return;
    bool finished = false;
    {
        std::unique_lock lock(shared_->mutex);
        shared_->stopping = true;
        shared_->requested.notify_all();
        finished = shared_->answered.wait_for(lock, deadline_,
                                              [this] { return !shared_->reading && !shared_->asking; });
    }
    if (finished)
        reader_.join();
    else
        reader_.detach();
}

BindingsLookup::Answer BindingsLookup::lookup(const QString& path, const QString& keyID) {
    // Started here rather than in the constructor: a monitor that never sees a stroke, and
    // ordinary typing, cost no thread.
    if (!reader_.joinable()) reader_ = std::thread([shared = shared_] { shared->run(); });

    std::unique_lock lock(shared_->mutex);
    if (shared_->reading) return {Status::stillReading, {}};
    if (shared_->verdictLocal && shared_->verdictHolds(path, Clock::now())) {
        lock.unlock();
        return {Status::read, shared_->read(path, keyID)};
    }
    shared_->request.emplace(path, keyID);
    shared_->reading = true;
    const std::uint64_t ticket = ++shared_->asked;
    shared_->requested.notify_one();
    if (!shared_->answered.wait_for(lock, deadline_, [&] { return shared_->done == ticket; }))
        return {Status::timedOut, {}};
    return {Status::read, std::move(shared_->result)};
}

bool BindingsLookup::isReading() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->reading;
}

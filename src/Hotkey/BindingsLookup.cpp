#include "Hotkey/BindingsLookup.h"

#include "Support/ThreadName.h"

#include <condition_variable>
#include <mutex>
#include <optional>

// Owned jointly by the lookup and its reader thread, so that a thread left hanging in a read
// still has everything it touches once the lookup is gone.
struct BindingsLookup::Shared {
    explicit Shared(Read r) : read(std::move(r)) {}

    const Read read;
    std::mutex mutex;
    std::condition_variable requested;
    std::condition_variable answered;
    std::optional<std::pair<QString, QString>> request;
    bool reading = false;
    bool stopping = false;
    std::uint64_t asked = 0;
    std::uint64_t done = 0;
    KeyBindingStore::Lookup result;

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
        }
    }
};

BindingsLookup::BindingsLookup()
    : BindingsLookup([](const QString& path, const QString& keyID) { return KeyBindingStore::lookup(path, keyID); }) {}

BindingsLookup::BindingsLookup(Read read, std::chrono::milliseconds deadline)
    : shared_(std::make_shared<Shared>(std::move(read))), deadline_(deadline) {}

BindingsLookup::~BindingsLookup() {
    if (!reader_.joinable()) return;
    bool finished = false;
    {
        std::unique_lock lock(shared_->mutex);
        shared_->stopping = true;
        shared_->requested.notify_all();
        finished = shared_->answered.wait_for(lock, deadline_, [this] { return !shared_->reading; });
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

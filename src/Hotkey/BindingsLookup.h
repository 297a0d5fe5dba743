#pragma once

#include "Keyboard/KeyBindingStore.h"

#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

/// Looks a key up in the bindings file for the event tap, waiting at most a deadline. The tap
/// holds the whole keyboard while it decides, and a file system that stalls (a network home
/// folder whose server hangs) would hold it for as long as the read hangs; so the read runs on
/// a reader thread of its own, "kestavon.hotkey.read", which starts with the first lookup.
/// One read at a time: while a read hangs, later lookups answer at once and start none.
/// Handing a read over costs far more than the read itself, so once the reader thread has
/// found that the file's folder is on a local disk, lookups read it on the caller's thread;
/// the reader thread asks again after `localVerdictLifetime`, in case something was mounted
/// over the folder meanwhile.
class BindingsLookup {
public:
    /// Reads the file at `path` and finds `keyID` in it; may block for any time.
    using Read = std::function<KeyBindingStore::Lookup(const QString& path, const QString& keyID)>;

    enum class Status {
        /// The file was read in time; `lookup` holds what it says.
        read,
        /// This read did not end within the deadline; it goes on alone, and its answer is dropped.
        timedOut,
        /// An earlier read is still under way, so none was started.
        stillReading,
    };
    struct Answer {
        Status status = Status::read;
        KeyBindingStore::Lookup lookup;
    };

    /// Whether the file at `path` lies where reading it cannot hang; may block for any time.
    using IsLocal = std::function<bool(const QString& path)>;

    /// A small fraction of a second: long enough for a healthy disk under load, short enough
    /// that the typing after a stroke does not visibly lag.
    static constexpr std::chrono::milliseconds defaultDeadline{250};
    /// How long what the reader thread found about a folder holds before it asks again.
    static constexpr std::chrono::seconds localVerdictLifetime{60};

    /// Reads with KeyBindingStore::lookup; files on a local disk (LocalDisk) are read directly.
    BindingsLookup();
    /// Without `isLocal`, every read runs on the reader thread.
    explicit BindingsLookup(Read read, std::chrono::milliseconds deadline = defaultDeadline,
                            IsLocal isLocal = {});
    /// Stops the reader thread. A read still hanging after one more deadline is left to finish
    /// on its own, with the state it needs; the thread then ends.
    ~BindingsLookup();
    BindingsLookup(const BindingsLookup&) = delete;
    BindingsLookup& operator=(const BindingsLookup&) = delete;

    /// Looks `keyID` up in the file at `path`. One caller thread at a time (the event tap's).
    Answer lookup(const QString& path, const QString& keyID);
    /// Whether a read is under way, perhaps one that hangs.
    bool isReading() const;
    std::chrono::milliseconds deadline() const { return deadline_; }

private:
    struct Shared;

    std::shared_ptr<Shared> shared_;
    std::chrono::milliseconds deadline_;
    std::thread reader_;
};

#pragma once

#include <QString>

#include <memory>

class SerialQueue;

/// The optional diagnostic log of the hotkey path. It is on for the whole run when
/// "hotkey.log.on" exists in the data folder at first use; each message is then printed and
/// appended, time-stamped, to "hotkey.log" on a queue of its own, so callers never wait for
/// the disk.
class HotkeyLog {
public:
    /// Logs into `folder`; whether logging is on is decided here, once.
    explicit HotkeyLog(QString folder);
    /// Writes what is still queued.
    ~HotkeyLog();

    /// Queues one message; returns at once. Does nothing when logging is off.
    void write(const QString& message);
    /// Logging is on and "hotkey.traceAll" exists right now.
    bool traceAll() const;
    bool enabled() const { return enabled_; }
    /// The path of "hotkey.log".
    const QString& fileURL() const { return fileURL_; }
    /// Blocks until every message queued so far is written.
    void flush();

    /// The process-wide log, in the folder of the bindings file.
    static HotkeyLog& shared();
    /// Logs through the process-wide log; callable from any thread.
    static void log(const QString& message);
    /// Full tracing of every key-down: logging on and "hotkey.traceAll" present.
    static bool isTraceAllEnabled();

    /// The file starts afresh once it is larger than this.
    static constexpr qint64 maxFileBytes = 2'000'000;

private:
    QString folder_;
    QString fileURL_;
    QString traceAllURL_;
    bool enabled_ = false;
    std::unique_ptr<SerialQueue> ioQueue_;
};

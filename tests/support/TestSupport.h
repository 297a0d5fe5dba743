#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QUuid>

#include <functional>

#include <sys/stat.h>

namespace TestSupport {

/// Runs the main thread's event loop until `done` holds, for at most `limitMs` of real time
/// (a guard against a hang, not a delay: it returns as soon as `done` holds).
inline bool processEventsUntil(const std::function<bool()>& done, int limitMs = 5000) {
    const QDeadlineTimer deadline(limitMs);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

/// Runs what is already queued on the main thread.
inline void drainMainThread() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

/// A fresh empty folder for one test, removed with the test program's temporary root.
inline QString freshFolder() {
    const QString path = qEnvironmentVariable("KESTAVON_TEST_ROOT") + QStringLiteral("/t-") +
                         QUuid::createUuid().toString(QUuid::WithoutBraces);
    QDir().mkpath(path);
    return path;
}

inline QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(bytes);
}

/// The permission bits of what is at `path`, a link not followed; 0 when nothing is there.
inline mode_t modeOf(const QString& path) {
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

} // namespace TestSupport

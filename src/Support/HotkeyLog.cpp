#include "HotkeyLog.h"

#include "Support/DataFolder.h"
#include "Support/FileIO.h"
#include "Support/SerialQueue.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Starts the file afresh; no time stamp, so it cannot be mistaken for a message.
const QByteArray restartMarker = QByteArrayLiteral("---- 日志超长，旧内容已丢弃 ----\n");

// With full tracing on the log holds the key code of every key-down: the owner alone may read it.
constexpr mode_t ownerOnly = 0600;

void print(const QByteArray& message) {
    std::fwrite(message.constData(), 1, static_cast<size_t>(message.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void writeAll(int fd, const QByteArray& bytes) {
    for (qsizetype written = 0; written < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + written, size_t(bytes.size() - written));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        written += n;
    }
}

// Disk errors lose the line; the log never reports or retries. A link in the file's place is
// not followed (it could lead to any file of the user's) and a pipe is not waited on: the line
// is lost then too.
void append(const QString& folder, const QString& path, const QByteArray& line) {
    FileIO::makePrivateFolder(folder);
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, ownerOnly);
    if (fd < 0) return;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return;
    }
    // A file left by an older version, or made by hand, may be readable by others.
    if ((info.st_mode & 0777) != ownerOnly) ::fchmod(fd, ownerOnly);
    if (info.st_size > HotkeyLog::maxFileBytes && ::ftruncate(fd, 0) == 0) writeAll(fd, restartMarker);
    writeAll(fd, line);
    ::close(fd);
}

} // namespace

HotkeyLog::HotkeyLog(QString folder)
    : folder_(std::move(folder)), fileURL_(folder_ + QStringLiteral("/hotkey.log")),
      traceAllURL_(folder_ + QStringLiteral("/hotkey.traceAll")),
      enabled_(QFileInfo::exists(folder_ + QStringLiteral("/hotkey.log.on"))) {
    // No thread at all while logging is off.
    if (enabled_) ioQueue_ = std::make_unique<SerialQueue>(QStringLiteral("kestavon.hotkey.log.io"));
}

HotkeyLog::~HotkeyLog() { flush(); }

void HotkeyLog::write(const QString& message) {
    if (!enabled_) return;
    // The time is taken here, where the event happened, not when the disk gets to it.
    const qint64 when = QDateTime::currentMSecsSinceEpoch();
    ioQueue_->async([this, message, when] {
        const QByteArray text = message.toUtf8();
        print(text);
        const QString stamp = QLocale::c().toString(QDateTime::fromMSecsSinceEpoch(when),
                                                    QStringLiteral("MM-dd HH:mm:ss.zzz"));
        append(folder_, fileURL_, stamp.toUtf8() + ' ' + text + '\n');
    });
}

bool HotkeyLog::traceAll() const { return enabled_ && QFileInfo::exists(traceAllURL_); }

void HotkeyLog::flush() {
    if (ioQueue_) ioQueue_->waitUntilIdle();
}

HotkeyLog& HotkeyLog::shared() {
    // Never destroyed: the event-tap thread may log until the process ends.
    static HotkeyLog* const log = new HotkeyLog(DataFolder::path());
    return *log;
}

void HotkeyLog::log(const QString& message) { shared().write(message); }

bool HotkeyLog::isTraceAllEnabled() { return shared().traceAll(); }

#include "HotkeyLog.h"

#include "Support/DataFolder.h"
#include "Support/SerialQueue.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <cstdio>

namespace {

// Starts the file afresh; no time stamp, so it cannot be mistaken for a message.
const QByteArray restartMarker = QByteArrayLiteral("---- 日志超长，旧内容已丢弃 ----\n");

// With full tracing on the log holds the key code of every key-down: the owner alone may read it.
const QFileDevice::Permissions ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
const QFileDevice::Permissions modeBits = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                                          QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                                          QFileDevice::ReadOther | QFileDevice::WriteOther |
                                          QFileDevice::ExeOther;

void print(const QByteArray& message) {
    std::fwrite(message.constData(), 1, static_cast<size_t>(message.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// Disk errors lose the line; the log never reports or retries.
void append(const QString& folder, const QString& path, const QByteArray& line) {
    QDir().mkpath(folder);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append, ownerOnly)) return;
    // A file left by an older version, or made by hand, may be readable by others.
    if ((file.permissions() & modeBits) != ownerOnly) file.setPermissions(ownerOnly);
    if (file.size() > HotkeyLog::maxFileBytes) {
        file.resize(0);
        file.write(restartMarker);
    }
    file.write(line);
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

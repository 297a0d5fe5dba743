#include "ProcessInfo.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace ProcessInfo {

namespace {

// Environments are a few kilobytes; the bound keeps a hostile one from costing memory.
constexpr qsizetype environmentLimit = 1 << 20;

QByteArray procPath(std::int32_t pid, const char* file, const QByteArray& proc = "/proc") {
    return proc + '/' + QByteArray::number(pid) + '/' + file;
}

QByteArray readProcFile(std::int32_t pid, const char* file, qsizetype limit,
                        const QByteArray& proc = "/proc") {
    if (pid <= 0) return {};
    const int fd = ::open(procPath(pid, file, proc).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return {};
    QByteArray bytes;
    char buffer[4096];
    while (bytes.size() < limit) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            bytes.append(buffer, n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            break;
        }
    }
    ::close(fd);
    return bytes.left(limit);
}

} // namespace

std::optional<uid_t> realUser(std::int32_t pid, const QByteArray& proc) {
    // Asked for every window of every jump: one read, and only the "Uid:" line looked at, which
    // comes within the first few hundred bytes of a status.
    const QByteArray status = readProcFile(pid, "status", 4096, proc);
    qsizetype at = status.startsWith("Uid:") ? 0 : status.indexOf("\nUid:");
    if (at < 0) return std::nullopt;
    at += status.at(at) == '\n' ? 5 : 4;
    while (at < status.size() && (status.at(at) == '\t' || status.at(at) == ' '))
        ++at;
    // The first of the four ids is the real one.
    qsizetype end = at;
    while (end < status.size() && status.at(end) != '\t' && status.at(end) != ' ' && status.at(end) != '\n')
        ++end;
    bool ok = false;
    const qulonglong id = QByteArrayView(status).sliced(at, end - at).toULongLong(&ok);
    // -1 is no user at all, and a value past uid_t names none.
    if (!ok || id >= qulonglong(uid_t(-1))) return std::nullopt;
    return uid_t(id);
}

std::optional<QString> launchedDesktopFile(std::int32_t pid) {
    static const QByteArray fileVariable("GIO_LAUNCHED_DESKTOP_FILE=");
    static const QByteArray pidVariable("GIO_LAUNCHED_DESKTOP_FILE_PID=");
    const QByteArray environment = readProcFile(pid, "environ", environmentLimit);
    QByteArray file;
    QByteArray launchedPid;
    for (const QByteArray& variable : environment.split('\0')) {
        if (variable.startsWith(fileVariable))
            file = variable.mid(fileVariable.size());
        else if (variable.startsWith(pidVariable))
            launchedPid = variable.mid(pidVariable.size());
    }
    if (file.isEmpty() || !file.startsWith('/')) return std::nullopt;
    if (!launchedPid.isEmpty() && launchedPid != QByteArray::number(pid)) return std::nullopt;
    return QFile::decodeName(file);
}

QString executableName(std::int32_t pid) {
    if (pid <= 0) return {};
    char target[4096];
    const ssize_t n = ::readlink(procPath(pid, "exe").constData(), target, sizeof target - 1);
    if (n <= 0) return {};
    QString path = QFile::decodeName(QByteArray(target, n));
    // A program replaced on disk while it runs (an upgrade) is still that program.
    if (path.endsWith(QLatin1String(" (deleted)"))) path.chop(10);
    return QFileInfo(path).fileName();
}

QString commandName(std::int32_t pid) {
    return QString::fromUtf8(readProcFile(pid, "comm", 64).trimmed());
}

} // namespace ProcessInfo

#include "ProcessInfo.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace ProcessInfo {

namespace {

// Environments are a few kilobytes; the bound keeps a hostile one from costing memory.
constexpr qsizetype environmentLimit = 1 << 20;

QByteArray procPath(std::int32_t pid, const char* file) {
    return "/proc/" + QByteArray::number(pid) + '/' + file;
}

QByteArray readProcFile(std::int32_t pid, const char* file, qsizetype limit) {
    if (pid <= 0) return {};
    const int fd = ::open(procPath(pid, file).constData(), O_RDONLY | O_CLOEXEC);
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

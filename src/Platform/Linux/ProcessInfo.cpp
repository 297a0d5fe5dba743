#include "ProcessInfo.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <string_view>
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
    // Asked for every window of every jump: read into the stack, and only as far as the "Uid:"
    // line, which comes within the first few hundred bytes of a status.
    if (pid <= 0) return std::nullopt;
    const int fd = ::open(procPath(pid, "status", proc).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    char buffer[4096];
    std::size_t length = 0;
    while (length < sizeof buffer - 1) {
        const ssize_t n = ::read(fd, buffer + length, sizeof buffer - 1 - length);
        if (n > 0)
            length += std::size_t(n);
        else if (n < 0 && errno == EINTR)
            continue;
        else
            break;
    }
    ::close(fd);
    buffer[length] = '\0';
    const std::string_view status(buffer, length);
    std::size_t line = status.rfind("Uid:", 0) == 0 ? 0 : status.find("\nUid:");
    if (line == std::string_view::npos) return std::nullopt;
    line += status[line] == '\n' ? 5 : 4;
    // The first of the four ids is the real one: digits after blanks, then a blank or the end.
    while (line < length && (buffer[line] == '\t' || buffer[line] == ' '))
        ++line;
    const std::size_t digits = line;
    unsigned long long id = 0;
    while (line < length && buffer[line] >= '0' && buffer[line] <= '9' && id <= std::uint64_t(uid_t(-1)))
        id = id * 10 + std::uint64_t(buffer[line++] - '0');
    const bool ended = line == length || buffer[line] == '\t' || buffer[line] == ' ' || buffer[line] == '\n';
    // -1 is no user at all, and a value past uid_t names none.
    if (line == digits || !ended || id >= std::uint64_t(uid_t(-1))) return std::nullopt;
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

#include "FileIO.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FileIO {
namespace {

constexpr mode_t privateFile = 0600;
constexpr mode_t privateFolder = 0700;

std::optional<QString> failure(const char* action, const QString& path) {
    return QStringLiteral("%1 %2: %3").arg(QLatin1String(action), path, qt_error_string(errno));
}

// The temporary files of a save: hidden, next to the file, named after it. The saving process
// holds a lock on its own until the file is in place, so a locked one is a save in progress
// and an unlocked one was left by a process that died mid-save.
QString temporaryPrefix(const QString& fileName) {
    return u'.' + fileName + QStringLiteral(".saving-");
}

bool sameFile(int fd, const QByteArray& name) {
    struct stat opened {
    }, named{};
    return ::fstat(fd, &opened) == 0 && ::stat(name.constData(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

// Creates and locks a new temporary file for `fileName` in `folder`; -1 and errno on failure.
int createTemporary(const QString& folder, const QString& fileName, QByteArray& name) {
    const QString prefix = folder + u'/' + temporaryPrefix(fileName);
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = QFile::encodeName(prefix + QString::number(QRandomGenerator::global()->generate64(), 36));
        // Private from the first byte: another user watching the folder never gets to open it.
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, privateFile);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return -1;
        }
        // Without locks (some network file systems) nothing is ever taken for abandoned.
        ::flock(fd, LOCK_EX);
        if (sameFile(fd, name)) return fd;
        // Another save took it for abandoned between the creation and the lock.
        ::close(fd);
    }
    errno = EEXIST;
    return -1;
}

// Removes the temporary files of saves that were cut short (the process was killed).
void removeAbandoned(const QString& folder, const QString& fileName) {
    const QString prefix = temporaryPrefix(fileName);
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& entry : names) {
        if (!entry.startsWith(prefix)) continue;
        const QByteArray name = QFile::encodeName(folder + u'/' + entry);
        const int fd = ::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && sameFile(fd, name)) ::unlink(name.constData());
        ::close(fd);
    }
}

} // namespace

bool makePrivateFolder(const QString& path) {
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    // Each missing folder from the top down; the umask may narrow the mode further, never widen it.
    for (qsizetype slash = absolute.indexOf(u'/', 1); ; slash = absolute.indexOf(u'/', slash + 1)) {
        const QString prefix = slash < 0 ? absolute : absolute.left(slash);
        const QByteArray native = QFile::encodeName(prefix);
        if (::mkdir(native.constData(), privateFolder) != 0 && errno != EEXIST) return false;
        if (slash < 0) break;
    }
    struct stat info {};
    return ::stat(QFile::encodeName(absolute).constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

ReadResult read(const QString& path, std::int64_t maxBytes) {
    ReadResult result;
    const QByteArray native = QFile::encodeName(path);
    // Not blocking: a named pipe put in place of the file must not hang the reader.
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            result.status = ReadResult::Status::missing;
        } else {
            result.problem = QStringLiteral("it cannot be opened (%1)").arg(qt_error_string(errno));
        }
        return result;
    }

    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        result.problem = QStringLiteral("it is not a regular file");
        return result;
    }
    if (info.st_size > maxBytes) {
        ::close(fd);
        result.status = ReadResult::Status::tooLarge;
        return result;
    }

    // One byte of slack tells a file that grew since fstat from one that did not.
    QByteArray bytes(static_cast<qsizetype>(info.st_size) + 1, Qt::Uninitialized);
    qsizetype filled = 0;
    for (;;) {
        const ssize_t n = ::read(fd, bytes.data() + filled, static_cast<size_t>(bytes.size() - filled));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            result.problem = QStringLiteral("it cannot be read (%1)").arg(qt_error_string(errno));
            ::close(fd);
            return result;
        }
        if (n == 0) break;
        filled += n;
        if (filled == bytes.size()) {
            if (filled > maxBytes) {
                ::close(fd);
                result.status = ReadResult::Status::tooLarge;
                return result;
            }
            bytes.resize(bytes.size() * 2);
        }
    }
    ::close(fd);
    bytes.truncate(filled);
    result.status = ReadResult::Status::ok;
    result.bytes = std::move(bytes);
    return result;
}

std::optional<QString> writeAtomically(const QString& path, const QByteArray& bytes) {
    const QString folder = QFileInfo(path).absolutePath();
    if (!makePrivateFolder(folder)) return QStringLiteral("could not create the folder %1").arg(folder);

    // A link is followed: the file it points to is replaced, the link stays.
    QFileInfo target(path);
    for (int depth = 0; depth < 40 && target.isSymLink(); ++depth)
        target.setFile(target.symLinkTarget());
    const QByteArray native = QFile::encodeName(target.filePath());
    struct stat existing {};
    const bool exists = ::stat(native.constData(), &existing) == 0;
    // Only a regular file is replaced: never a folder, and never a device or pipe a link
    // may lead to outside the data folder.
    if (exists && !S_ISREG(existing.st_mode)) {
        if (!S_ISDIR(existing.st_mode))
            return QStringLiteral("could not replace %1: not a regular file").arg(target.filePath());
        errno = EISDIR;
        return failure("could not replace", target.filePath());
    }
    // A file the user made read-only stays as it is.
    if (exists && ::access(native.constData(), W_OK) != 0)
        return failure("the file is not writable", target.filePath());

    QByteArray temporary;
    const int fd = createTemporary(target.absolutePath(), target.fileName(), temporary);
    if (fd < 0) return failure("could not create a temporary file in", target.absolutePath());
    const auto abandon = [&](const char* action, const QByteArray& name) {
        const int error = errno;
        ::unlink(temporary.constData());
        ::close(fd);
        errno = error;
        return failure(action, QFile::decodeName(name));
    };

    // An existing file keeps a mode as private as a new one's or more so; a looser one is
    // narrowed to a new file's.
    if (exists && (existing.st_mode & 07777 & ~privateFile) == 0) ::fchmod(fd, existing.st_mode & 07777);
    for (qsizetype written = 0; written < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + written, size_t(bytes.size() - written));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return abandon("could not write", temporary);
        written += n;
    }
    // Some file systems report a full disk or an I/O error only here.
    if (::fsync(fd) != 0) return abandon("could not write", temporary);
    if (::rename(temporary.constData(), native.constData()) != 0) return abandon("could not replace", native);
    ::close(fd);
    removeAbandoned(target.absolutePath(), target.fileName());
    return std::nullopt;
}

std::optional<QString> keepAside(UnreadableFile& file, const QDateTime& when) {
    const QString stem =
        file.path + QStringLiteral(".unreadable-") + when.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QByteArray from = QFile::encodeName(file.path);
    for (int n = 1; n < 100; ++n) {
        const QString name = n == 1 ? stem : stem + u'-' + QString::number(n);
        const QByteArray to = QFile::encodeName(name);
        struct stat taken {};
        if (::lstat(to.constData(), &taken) == 0) continue;
        if (::rename(from.constData(), to.constData()) != 0) {
            // Gone already (removed or mended by hand): nothing is left to keep.
            if (errno == ENOENT) return std::nullopt;
            return failure("could not keep the unreadable file as", name);
        }
        file.keptAs = name;
        return std::nullopt;
    }
    errno = EEXIST;
    return failure("could not keep the unreadable file beside", file.path);
}

} // namespace FileIO

#include "FileIO.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FileIO {

ReadResult read(const QString& path, std::int64_t maxBytes) {
    ReadResult result;
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return result;

    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
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
    if (!QDir().mkpath(folder)) return QStringLiteral("could not create the folder %1").arg(folder);

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return file.errorString();
    if (file.write(bytes) != bytes.size()) {
        const QString error = file.errorString();
        file.cancelWriting();
        return error;
    }
    if (!file.commit()) return file.errorString();
    return std::nullopt;
}

} // namespace FileIO

#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <cstdint>
#include <optional>

/// Whole-file reads with a size limit, and atomic whole-file writes.
namespace FileIO {

struct ReadResult {
    enum class Status { ok, missing, unreadable, tooLarge };
    Status status = Status::unreadable;
    QByteArray bytes;
    /// Why an unreadable file could not be read, in plain words.
    QString problem;
};

/// Reads a regular file whole. A file larger than `maxBytes` is not read at all; anything but
/// a regular file (a folder, a named pipe, a device) is unreadable, and never waited for.
ReadResult read(const QString& path, std::int64_t maxBytes);

/// A data file that is there but could not be used: what the window tells the user, and
/// where the file went once a save needed its place.
struct UnreadableFile {
    QString path;
    /// Why it could not be used, in plain words.
    QString reason;
    /// Where it was kept before the first save replaced it; empty until then.
    QString keptAs;

    bool operator==(const UnreadableFile&) const = default;
};

/// Moves the file (a link itself, never what it points to) out of the way to
/// "<path>.unreadable-YYYYMMDD-HHMMSS" of `when` beside it, with "-2", "-3"... added while that
/// name is taken, so the user can mend it and put it back. Sets `keptAs` and returns nothing
/// on success, else the failure's description.
std::optional<QString> keepAside(UnreadableFile& file, const QDateTime& when);

/// Creates the folder and the missing folders above it, each new one private to its owner
/// (0700); folders already there are left as they are. True when the folder exists.
bool makePrivateFolder(const QString& path);

/// Replaces the file with `bytes` in one step (a temporary file, written and flushed to the
/// disk, then moved into place), creating missing folders first, private ones. A reader sees
/// the old file or the new one, never a part; on any failure the old file stays as it was and
/// the temporary file is removed. Temporary files left by a process that died while saving are removed by
/// the next successful save of the same file. A symbolic link is followed; a file that is not
/// writable is not replaced. The file is private to its owner (0600) from its first byte; it
/// keeps an existing file's mode only where that is no looser. Returns the description of the
/// failure, or nothing on success.
std::optional<QString> writeAtomically(const QString& path, const QByteArray& bytes);

} // namespace FileIO

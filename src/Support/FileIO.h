#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

/// Whole-file reads with a size limit, and atomic whole-file writes.
namespace FileIO {

struct ReadResult {
    enum class Status { ok, unreadable, tooLarge };
    Status status = Status::unreadable;
    QByteArray bytes;
};

/// Reads a regular file whole. A file larger than `maxBytes` is not read at all; anything but
/// a regular file (a folder, a named pipe, a device) is unreadable, and never waited for.
ReadResult read(const QString& path, std::int64_t maxBytes);

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

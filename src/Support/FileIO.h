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

/// Reads a regular file whole. A file larger than `maxBytes` is not read at all.
ReadResult read(const QString& path, std::int64_t maxBytes);

/// Replaces the file with `bytes` in one step (a temporary file moved into place), creating
/// missing folders first. A reader sees the old file or the new one, never a part.
/// Returns the description of the failure, or nothing on success.
std::optional<QString> writeAtomically(const QString& path, const QByteArray& bytes);

} // namespace FileIO

#pragma once

#include "Stats/UsageStats.h"
#include "Support/FileIO.h"

#include <QObject>
#include <QString>

#include <mutex>
#include <optional>

/// Counts successful jumps, keeps "usageStats.json" up to date after every change and
/// publishes the counters to the user interface. Recording may come from any thread; the
/// published `stats` is written on the main thread only, so views read it without locking.
class UsageStatsStore : public QObject {
    Q_OBJECT
    Q_PROPERTY(UsageStats stats READ stats NOTIFY statsChanged)

public:
    /// Loads the counters from `filePath`, by default defaultFileURL().
    explicit UsageStatsStore(std::optional<QString> filePath = std::nullopt, QObject* parent = nullptr);

    /// The store of the whole process, created on first use; it lives until the process ends.
    static UsageStatsStore& shared();
    /// "usageStats.json" in the data folder.
    static QString defaultFileURL();

    /// The published copy; read it on the main thread.
    const UsageStats& stats() const { return stats_; }
    const QString& fileURL() const { return fileURL_; }
    /// Set when the file at start could not be used: counting then starts from zero, and the
    /// first save keeps that file beside the new one. Read it on the main thread.
    const std::optional<FileIO::UnreadableFile>& unreadableFile() const { return unreadable_; }

    /// Counts one successful jump and saves. An application without a bundle identifier is
    /// passed with an empty one and counted under its name.
    void recordSuccess(const QString& appName, const QString& bundleID);
    /// Zero total, no applications; saved and published at once.
    void reset();

signals:
    void statsChanged();
    void unreadableFileChanged();

private:
    /// Saves `storage`, first moving an unreadable file out of its way, once. Holding `lock`.
    std::optional<QString> saveLocked();
    /// Hands the current counters to `stats` on the main thread.
    void publish();
    static void reportWriteFailure(const std::optional<QString>& failure);

    UsageStats stats_;
    QString fileURL_;
    /// Guards `storage` and the file, so file writes never overlap. Never held while
    /// publishing or logging.
    std::mutex lock;
    UsageStats storage;
    /// The file that could not be used, as the saving thread knows it; guarded by `lock`.
    std::optional<FileIO::UnreadableFile> storageUnreadable;
    /// The published copy of it; main thread.
    std::optional<FileIO::UnreadableFile> unreadable_;
};

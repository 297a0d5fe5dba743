#include "UsageStatsStore.h"

#include "Platform/Platform.h"
#include "Platform/TimePort.h"
#include "Support/DataFolder.h"
#include "Support/HotkeyLog.h"
#include "Support/MainThread.h"

#include <QCoreApplication>
#include <QThread>

UsageStatsStore::UsageStatsStore(std::optional<QString> filePath, QObject* parent)
    : QObject(parent), fileURL_(filePath.value_or(defaultFileURL())) {
    // Queued publishing runs on the object's thread; the shared store may first be touched on
    // the stroke-execution thread, which has no event loop, so it belongs to the main thread.
    if (auto* app = QCoreApplication::instance(); app && !parent && thread() != app->thread())
        moveToThread(app->thread());
    QString problem;
    storage = UsageStats::snapshot(fileURL_, &problem);
    stats_ = storage;
    if (!problem.isEmpty()) storageUnreadable = unreadable_ = FileIO::UnreadableFile{fileURL_, problem, {}};
}

UsageStatsStore& UsageStatsStore::shared() {
    // Never destroyed: jumps may still be recorded while the process winds down.
    static auto* store = new UsageStatsStore();
    return *store;
}

QString UsageStatsStore::defaultFileURL() {
    return DataFolder::file(QStringLiteral("usageStats.json"));
}

void UsageStatsStore::recordSuccess(const QString& appName, const QString& bundleID) {
    std::optional<QString> failure;
    std::int64_t total = 0;
    {
        std::lock_guard guard(lock);
        storage = UsageStats::incremented(storage, appName, bundleID);
        failure = saveLocked();
        total = storage.totalSuccess;
    }
    reportWriteFailure(failure);
    publish();
    HotkeyLog::log(QStringLiteral("stats +1 ") + appName + QStringLiteral(" total=") +
                   QString::number(total));
}

void UsageStatsStore::reset() {
    std::optional<QString> failure;
    {
        std::lock_guard guard(lock);
        storage = UsageStats{};
        failure = saveLocked();
    }
    reportWriteFailure(failure);
    publish();
}

void UsageStatsStore::publish() {
    // Copies the counters when the work runs, not when it is queued: a burst of jumps from
    // another thread then ends with the latest counters whatever order the hops run in.
    MainThread::run(this, [this] {
        UsageStats current;
        std::optional<FileIO::UnreadableFile> unreadable;
        {
            std::lock_guard guard(lock);
            current = storage;
            unreadable = storageUnreadable;
        }
        if (unreadable != unreadable_) {
            unreadable_ = std::move(unreadable);
            emit unreadableFileChanged();
        }
        if (current == stats_) return;
        stats_ = std::move(current);
        emit statsChanged();
    });
}

std::optional<QString> UsageStatsStore::saveLocked() {
    // The user's old counts are never written over: they may be mended and put back.
    if (storageUnreadable && storageUnreadable->keptAs.isEmpty()) {
        const QDateTime now =
            Platform::isInstalled() ? Platform::current().time().currentDate() : QDateTime::currentDateTime();
        if (auto failure = FileIO::keepAside(*storageUnreadable, now)) return failure;
        // Gone by the time of the save (removed by hand): there is nothing left to tell.
        if (storageUnreadable->keptAs.isEmpty()) storageUnreadable.reset();
    }
    return UsageStats::save(storage, fileURL_);
}

void UsageStatsStore::reportWriteFailure(const std::optional<QString>& failure) {
    // Memory keeps the counts; the next successful save brings the file up to date.
    if (failure) HotkeyLog::log(QStringLiteral("usageStats.json 写入失败: ") + *failure);
}

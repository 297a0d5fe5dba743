#pragma once

#include "Keyboard/AppEntry.h"

#include <QList>
#include <QObject>

#include <functional>

/// The installed applications as the user interface watches them. Scans run on the global
/// thread pool; the result and the loading flag are published on the main thread. At most one
/// scan runs at a time, and the old list stays in place while a rescan runs.
class AppCatalogModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(QList<AppEntry> entries READ entries NOTIFY entriesChanged)
    Q_PROPERTY(bool isLoading READ isLoading NOTIFY isLoadingChanged)

public:
    /// Produces the list; called on a pool thread, so it must not touch the model.
    using ScanFunction = std::function<QList<AppEntry>()>;

    /// Nothing is scanned yet. `scan` defaults to defaultScan().
    explicit AppCatalogModel(ScanFunction scan = defaultScan(), QObject* parent = nullptr);

    /// The catalog's scan of its default roots.
    static ScanFunction defaultScan();

    /// In the order the scan returned them. Main thread.
    const QList<AppEntry>& entries() const { return entries_; }
    /// True while a scan is under way. Main thread.
    bool isLoading() const { return isLoading_; }
    /// True once loadIfNeeded() has started the first scan.
    bool isStarted() const { return started_; }

    /// Scans the first time it is called; later calls do nothing.
    void loadIfNeeded();
    /// Scans again, unless a scan is already under way.
    void rescan();

signals:
    void entriesChanged();
    void isLoadingChanged();

private:
    void reload();
    void publish(QList<AppEntry> entries);

    QList<AppEntry> entries_;
    bool isLoading_ = false;
    bool started_ = false;
    ScanFunction scan_;
};

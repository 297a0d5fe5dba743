#include "Keyboard/AppCatalogModel.h"

#include "Keyboard/AppCatalog.h"
#include "Support/MainThread.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThreadPool>

AppCatalogModel::AppCatalogModel(ScanFunction scan, QObject* parent)
    : QObject(parent), scan_(std::move(scan)) {}

AppCatalogModel::ScanFunction AppCatalogModel::defaultScan() {
    return [] { return AppCatalog::scan(AppCatalog::defaultRoots()); };
}

void AppCatalogModel::loadIfNeeded() {
    if (started_) return;
    started_ = true;
    reload();
}

void AppCatalogModel::rescan() {
    if (isLoading_) return;
    reload();
}

void AppCatalogModel::reload() {
    isLoading_ = true;
    emit isLoadingChanged();
    // The task keeps its own copy of the scan function, so a model destroyed mid-scan is
    // simply not told the result. The hop goes through the application object, which
    // outlives every model; the weak pointer is only read on the main thread.
    QThreadPool::globalInstance()->start([scan = scan_, self = QPointer<AppCatalogModel>(this)] {
        QList<AppEntry> found = scan();
        MainThread::post(QCoreApplication::instance(), [self, found = std::move(found)]() mutable {
            if (self) self->publish(std::move(found));
        });
    });
}

void AppCatalogModel::publish(QList<AppEntry> entries) {
    entries_ = std::move(entries);
    emit entriesChanged();
    isLoading_ = false;
    emit isLoadingChanged();
}

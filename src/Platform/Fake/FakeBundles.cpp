#include "FakeBundles.h"

#include <QFileInfo>

QStringList FakeBundles::applicationRoots() {
    std::lock_guard lock(mutex_);
    return roots;
}

std::optional<QStringList> FakeBundles::contentsOfDirectory(const QString& path) {
    std::lock_guard lock(mutex_);
    listed.append(path);
    const auto found = folders_.constFind(path);
    if (found == folders_.constEnd()) return std::nullopt;
    return *found;
}

std::optional<BundleInfo> FakeBundles::bundleInfo(const QString& path) {
    std::lock_guard lock(mutex_);
    const auto found = info_.constFind(path);
    if (found == info_.constEnd()) return std::nullopt;
    return *found;
}

QString FakeBundles::iconName(const QString& path) {
    std::lock_guard lock(mutex_);
    const auto named = iconNames_.constFind(path);
    if (named != iconNames_.constEnd()) return *named;
    return info_.contains(path) ? QStringLiteral("application-x-executable") : QString();
}

void FakeBundles::addBundle(const QString& path, const BundleInfo& info) {
    addFile(path);
    std::lock_guard lock(mutex_);
    info_.insert(path, info);
}

void FakeBundles::addFile(const QString& path) {
    const QFileInfo file(path);
    std::lock_guard lock(mutex_);
    QStringList& names = folders_[file.path()];
    if (!names.contains(file.fileName())) names.append(file.fileName());
}

void FakeBundles::setIconName(const QString& path, const QString& name) {
    std::lock_guard lock(mutex_);
    iconNames_.insert(path, name);
}

#pragma once

#include "Platform/BundlePort.h"

#include <QHash>
#include <QMap>

#include <mutex>

/// A fake file tree of application bundles: folders with their names, and the information
/// descriptions of the applications in them.
class FakeBundles final : public BundlePort {
public:
    QStringList applicationRoots() override;
    QString bundleSuffix() override { return QStringLiteral(".app"); }
    std::optional<QStringList> contentsOfDirectory(const QString& path) override;
    std::optional<BundleInfo> bundleInfo(const QString& path) override;
    QString iconName(const QString& path) override;

    /// Adds an application at `path` (its folder becomes listable) that says this of itself.
    void addBundle(const QString& path, const BundleInfo& info);
    /// Adds a plain entry (not a bundle) to a folder listing.
    void addFile(const QString& path);
    /// Gives the bundle at `path` this icon name (a theme name or an image file).
    void setIconName(const QString& path, const QString& name);

    QStringList roots;
    /// Folder listings a scan asked for, in order.
    QStringList listed;

private:
    std::mutex mutex_;
    QMap<QString, QStringList> folders_;
    QHash<QString, BundleInfo> info_;
    QHash<QString, QString> iconNames_;
};

#pragma once

#include "Platform/BundlePort.h"

#include <QHash>
#include <QMap>

#include <mutex>

/// A fake file tree of application bundles: folders with their names, and the information
/// dictionaries of the bundles in them.
class FakeBundles final : public BundlePort {
public:
    QStringList applicationRoots() override;
    QString bundleSuffix() override { return QStringLiteral(".app"); }
    std::optional<QStringList> contentsOfDirectory(const QString& path) override;
    std::optional<QVariantMap> infoDictionary(const QString& path) override;
    std::optional<QVariantMap> localizedInfoDictionary(const QString& path) override;
    QString iconName(const QString& path) override;

    /// Adds a bundle at `path` (its folder becomes listable) with this information dictionary.
    void addBundle(const QString& path, const QVariantMap& info, const std::optional<QVariantMap>& localized = {});
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
    QHash<QString, QVariantMap> info_;
    QHash<QString, QVariantMap> localized_;
    QHash<QString, QString> iconNames_;
};

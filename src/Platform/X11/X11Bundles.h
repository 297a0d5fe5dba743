#pragma once

#include "Platform/BundlePort.h"

/// Desktop entries presented as application bundles: the XDG applications folders are the
/// roots, a `.desktop` file is a bundle, its desktop-file id the bundle identifier, Name the
/// bundle name, and NoDisplay or Hidden makes it agent-only (not offered for binding).
class X11Bundles final : public BundlePort {
public:
    QStringList applicationRoots() override;
    QString bundleSuffix() override { return QStringLiteral(".desktop"); }
    /// A folder's own names, followed by the entries in its sub-folders named by their path
    /// below it ("kde/konsole.desktop"), so that an applications folder lists all its entries.
    std::optional<QStringList> contentsOfDirectory(const QString& path) override;
    std::optional<QVariantMap> infoDictionary(const QString& path) override;
    std::optional<QVariantMap> localizedInfoDictionary(const QString& path) override;
    QString iconName(const QString& path) override;
};

#pragma once

#include "Platform/BundlePort.h"

/// Installed applications as desktop entries: the XDG applications folders are the roots, a
/// `.desktop` file is an application, its desktop-file id the identifier, its localised Name
/// and Name the names, and NoDisplay or Hidden makes it agent-only (not offered for binding).
class DesktopEntryBundles final : public BundlePort {
public:
    QStringList applicationRoots() override;
    QString bundleSuffix() override { return QStringLiteral(".desktop"); }
    /// A folder's own names, followed by the entries in its sub-folders named by their path
    /// below it ("kde/konsole.desktop"), so that an applications folder lists all its entries.
    std::optional<QStringList> contentsOfDirectory(const QString& path) override;
    /// Nothing also for an entry whose TryExec program is missing: it describes an
    /// application that is not there.
    std::optional<BundleInfo> bundleInfo(const QString& path) override;
    QString iconName(const QString& path) override;
};

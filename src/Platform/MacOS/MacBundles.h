#pragma once

#include "Platform/BundlePort.h"

/// Installed applications on macOS: the application folders, bundles and their information
/// dictionaries, and their icons as the Finder shows them.
class MacBundles final : public BundlePort {
public:
    QStringList applicationRoots() override;
    QString bundleSuffix() override;
    std::optional<QStringList> contentsOfDirectory(const QString& path) override;
    std::optional<BundleInfo> bundleInfo(const QString& path) override;
    /// The workspace's icon for the file, written once per run as a PNG under the cache folder.
    QString iconName(const QString& path) override;
};

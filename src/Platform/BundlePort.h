#pragma once

#include <QString>
#include <QStringList>

#include <optional>

/// What an installed application says about itself.
struct BundleInfo {
    /// Its identifier; empty when it gives none.
    QString identifier;
    /// The names it gives itself, best first (localised before plain, the display name
    /// before the short name); empty strings are left out.
    QStringList names;
    /// An agent or helper with no window of its own, not offered to the user.
    bool agentOnly = false;
    bool operator==(const BundleInfo&) const = default;
};

/// Installed applications: where they live, and what each says about itself.
class BundlePort {
public:
    virtual ~BundlePort() = default;

    /// The folders (or single applications) scanned for installed applications, in order.
    virtual QStringList applicationRoots() = 0;
    /// How the file name of an installed application ends (".app", ".desktop").
    virtual QString bundleSuffix() = 0;
    /// The names directly inside a folder; nothing when it is missing or unreadable.
    virtual std::optional<QStringList> contentsOfDirectory(const QString& path) = 0;
    /// What the application at `path` says about itself; nothing when it is not one.
    virtual std::optional<BundleInfo> bundleInfo(const QString& path) = 0;
    /// The application's icon as an image file path or an icon-theme name; empty when none.
    virtual QString iconName(const QString& path) = 0;
};

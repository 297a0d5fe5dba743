#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <optional>

/// Keys of a bundle's information dictionary.
namespace BundleInfoKey {
inline const QString identifier = QStringLiteral("CFBundleIdentifier");
inline const QString name = QStringLiteral("CFBundleName");
inline const QString displayName = QStringLiteral("CFBundleDisplayName");
inline const QString agentOnly = QStringLiteral("LSUIElement");
} // namespace BundleInfoKey

/// Installed application bundles: where they live, and what each says about itself.
class BundlePort {
public:
    virtual ~BundlePort() = default;

    /// The folders (or single bundles) scanned for installed applications, in order.
    virtual QStringList applicationRoots() = 0;
    /// How the name of an application bundle ends (".app"; ".desktop" for desktop entries).
    virtual QString bundleSuffix() = 0;
    /// The names directly inside a folder; nothing when it is missing or unreadable.
    virtual std::optional<QStringList> contentsOfDirectory(const QString& path) = 0;
    /// The bundle's information dictionary; nothing when the path is not a bundle or has none.
    virtual std::optional<QVariantMap> infoDictionary(const QString& path) = 0;
    /// The bundle's information dictionary for the user's language; nothing when it has none.
    virtual std::optional<QVariantMap> localizedInfoDictionary(const QString& path) = 0;
    /// The bundle's icon as an image file path or an icon-theme name; empty when it has none.
    virtual QString iconName(const QString& path) = 0;
};

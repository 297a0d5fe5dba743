#include "Keyboard/AppCatalog.h"

#include "Platform/BundlePort.h"
#include "Platform/Platform.h"

#include <QCollator>
#include <QLocale>
#include <QSet>
#include <QVariant>

#include <algorithm>

namespace AppCatalog {
namespace {

// A flag of an information dictionary: numbers and booleans by their truth value; a string
// only when it is "1" or "true" in any case, so a bundle saying "YES" is still offered.
bool boolValue(const QVariant& value) {
    switch (value.metaType().id()) {
    case QMetaType::Bool:
        return value.toBool();
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::Char:
    case QMetaType::SChar:
        return value.toLongLong() != 0;
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
    case QMetaType::UShort:
    case QMetaType::UChar:
        return value.toULongLong() != 0;
    case QMetaType::Double:
    case QMetaType::Float:
        return value.toDouble() != 0.0;
    case QMetaType::QString: {
        const QString text = value.toString();
        return text == QLatin1String("1") || text.toLower() == QLatin1String("true");
    }
    default:
        return false;
    }
}

QString nonEmptyString(const QVariantMap& info, const QString& key) {
    const QVariant value = info.value(key);
    if (value.metaType().id() != QMetaType::QString) return {};
    return value.toString();
}

QString displayName(BundlePort& bundles, const QVariantMap& info, const QString& path,
                    const QString& suffix) {
    const QVariantMap localized = bundles.localizedInfoDictionary(path).value_or(QVariantMap());
    for (const QVariantMap* dictionary : {&localized, &info}) {
        for (const QString& key : {BundleInfoKey::displayName, BundleInfoKey::name}) {
            const QString name = nonEmptyString(*dictionary, key);
            if (!name.isEmpty()) return name;
        }
    }
    QString folder = path.section(QLatin1Char('/'), -1);
    return folder.remove(suffix);
}

void appendEntry(BundlePort& bundles, const QString& path, const QString& suffix, QSet<QString>& seen,
                 QList<AppEntry>& into) {
    const std::optional<QVariantMap> info = bundles.infoDictionary(path);
    if (!info) return;
    const QString bundleId = nonEmptyString(*info, BundleInfoKey::identifier);
    if (bundleId.isEmpty()) return;
    // Agents and menu-bar helpers have no window to jump to.
    if (boolValue(info->value(BundleInfoKey::agentOnly))) return;
    if (seen.contains(bundleId)) return;
    seen.insert(bundleId);
    into.append({bundleId, path, displayName(bundles, *info, path, suffix)});
}

} // namespace

QStringList defaultRoots() {
    return Platform::current().bundles().applicationRoots();
}

QList<AppEntry> scan(const QStringList& rootPaths) {
    BundlePort& bundles = Platform::current().bundles();
    const QString suffix = bundles.bundleSuffix();
    QSet<QString> seen;
    QList<AppEntry> found;
    for (const QString& root : rootPaths) {
        if (root.endsWith(suffix)) {
            appendEntry(bundles, root, suffix, seen, found);
            continue;
        }
        std::optional<QStringList> names = bundles.contentsOfDirectory(root);
        if (!names) continue;
        std::sort(names->begin(), names->end());
        for (const QString& name : *names) {
            if (name.endsWith(suffix))
                appendEntry(bundles, root + QLatin1Char('/') + name, suffix, seen, found);
        }
    }

    QCollator collator{QLocale()};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(found.begin(), found.end(), [&collator](const AppEntry& a, const AppEntry& b) {
        return collator.compare(a.name, b.name) < 0;
    });
    return found;
}

QList<AppEntry> filter(const QList<AppEntry>& entries, const QString& keyword) {
    const QString needle = keyword.trimmed();
    if (needle.isEmpty()) return entries;
    QList<AppEntry> beginning;
    QList<AppEntry> containing;
    for (const AppEntry& entry : entries) {
        if (entry.name.startsWith(needle, Qt::CaseInsensitive)) {
            beginning.append(entry);
        } else if (entry.name.contains(needle, Qt::CaseInsensitive) ||
                   entry.bundleId.contains(needle, Qt::CaseInsensitive)) {
            containing.append(entry);
        }
    }
    return beginning + containing;
}

} // namespace AppCatalog

#include "Keyboard/AppCatalog.h"

#include "Platform/BundlePort.h"
#include "Platform/Platform.h"

#include <QCollator>
#include <QLocale>
#include <QSet>

#include <algorithm>

namespace AppCatalog {
namespace {

QString displayName(const BundleInfo& info, const QString& path, const QString& suffix) {
    for (const QString& name : info.names)
        if (!name.isEmpty()) return name;
    QString file = path.section(QLatin1Char('/'), -1);
    return file.remove(suffix);
}

void appendEntry(BundlePort& bundles, const QString& path, const QString& suffix, QSet<QString>& seen,
                 QList<AppEntry>& into) {
    const std::optional<BundleInfo> info = bundles.bundleInfo(path);
    if (!info || info->identifier.isEmpty()) return;
    // Agents and helpers have no window to jump to.
    if (info->agentOnly) return;
    if (seen.contains(info->identifier)) return;
    seen.insert(info->identifier);
    into.append({info->identifier, path, displayName(*info, path, suffix)});
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

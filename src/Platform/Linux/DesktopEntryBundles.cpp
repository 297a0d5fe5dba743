#include "DesktopEntryBundles.h"

#include "DesktopEntryIndex.h"

#include <QDir>
#include <QFileInfo>

namespace {

constexpr int maximumDepth = 4;
constexpr int maximumNames = 20000;

// The applications folders follow from three variables alone, and working them out costs as
// much as reading a small entry: a scan asks for every entry, so they are worked out again
// only when a variable changed.
const QStringList& applicationFolders() {
    struct Known {
        QByteArray home, dataHome, dataDirs;
        QStringList folders;
        bool valid = false;
    };
    thread_local Known known;
    QByteArray home = qgetenv("HOME");
    QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    QByteArray dataDirs = qgetenv("XDG_DATA_DIRS");
    if (!known.valid || home != known.home || dataHome != known.dataHome || dataDirs != known.dataDirs) {
        known = {std::move(home), std::move(dataHome), std::move(dataDirs),
                 DesktopEntryIndex::applicationFolders(), true};
    }
    return known.folders;
}

std::optional<DesktopEntry> entryAt(const QString& path) {
    return DesktopEntry::read(path, DesktopEntryIndex::desktopFileId(path, applicationFolders()));
}

void appendNested(const QString& folder, const QString& relative, int depth, QStringList& names) {
    const QFileInfoList children =
        QDir(folder + QLatin1Char('/') + relative)
            .entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System, QDir::Name);
    for (const QFileInfo& child : children) {
        if (names.size() >= maximumNames) return;
        const QString name = relative + QLatin1Char('/') + child.fileName();
        // Linked folders are not entered: that is where loops come from.
        if (child.isDir() && !child.isSymLink()) {
            if (depth < maximumDepth) appendNested(folder, name, depth + 1, names);
        } else if (name.endsWith(QLatin1String(".desktop"))) {
            names.append(name);
        }
    }
}

} // namespace

QStringList DesktopEntryBundles::applicationRoots() {
    return applicationFolders();
}

std::optional<QStringList> DesktopEntryBundles::contentsOfDirectory(const QString& path) {
    const QFileInfo folder(path);
    if (!folder.isDir() || !folder.isReadable()) return std::nullopt;
    const QFileInfoList children = QDir(path).entryInfoList(
        QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System | QDir::Hidden, QDir::Name);
    QStringList names;
    for (const QFileInfo& child : children)
        names.append(child.fileName());
    for (const QFileInfo& child : children)
        if (child.isDir() && !child.isSymLink()) appendNested(path, child.fileName(), 1, names);
    return names;
}

std::optional<BundleInfo> DesktopEntryBundles::bundleInfo(const QString& path) {
    const auto entry = entryAt(path);
    if (!entry || !entry->isInstalled()) return std::nullopt;
    BundleInfo info{entry->id, {}, entry->noDisplay || entry->hidden};
    for (const QString& name : {entry->localizedName, entry->name})
        if (!name.isEmpty() && !info.names.contains(name)) info.names.append(name);
    return info;
}

QString DesktopEntryBundles::iconName(const QString& path) {
    const auto entry = entryAt(path);
    return entry ? entry->icon : QString();
}

#include "DesktopEntryBundles.h"

#include "DesktopEntryIndex.h"

#include <QFile>

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <vector>

namespace {

constexpr int maximumDepth = 4;
constexpr int maximumNames = 20000;

std::optional<DesktopEntry> entryAt(const QString& path) {
    return DesktopEntry::read(
        path, DesktopEntryIndex::desktopFileId(path, DesktopEntryIndex::applicationFolders()));
}

struct Child {
    QString name;
    /// A folder of its own: linked folders are not entered, as that is where loops come from.
    bool folder = false;
};

// A folder's children by name, read straight from the folder: its listing already says which
// are folders, so the thousands of entries of a large folder need no look-up each.
std::optional<std::vector<Child>> childrenOf(const QString& path, bool withHidden) {
    DIR* folder = ::opendir(QFile::encodeName(path).constData());
    if (!folder) return std::nullopt;
    std::vector<Child> children;
    while (const dirent* child = ::readdir(folder)) {
        const std::string_view name(child->d_name);
        if (name == "." || name == ".." || (!withHidden && name.front() == '.')) continue;
        bool isFolder = child->d_type == DT_DIR;
        if (child->d_type == DT_UNKNOWN) {
            struct stat status {};
            isFolder = ::fstatat(::dirfd(folder), child->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 &&
                       S_ISDIR(status.st_mode);
        }
        children.push_back({QFile::decodeName(child->d_name), isFolder});
    }
    ::closedir(folder);
    std::sort(children.begin(), children.end(),
              [](const Child& a, const Child& b) { return a.name < b.name; });
    return children;
}

void appendNested(const QString& folder, const QString& relative, int depth, QStringList& names) {
    // Hidden names below the top level are left out.
    const auto children = childrenOf(folder + QLatin1Char('/') + relative, false);
    if (!children) return;
    for (const Child& child : *children) {
        if (names.size() >= maximumNames) return;
        const QString name = relative + QLatin1Char('/') + child.name;
        if (child.folder) {
            if (depth < maximumDepth) appendNested(folder, name, depth + 1, names);
        } else if (name.endsWith(QLatin1String(".desktop"))) {
            names.append(name);
        }
    }
}

} // namespace

QStringList DesktopEntryBundles::applicationRoots() {
    return DesktopEntryIndex::applicationFolders();
}

std::optional<QStringList> DesktopEntryBundles::contentsOfDirectory(const QString& path) {
    const auto children = childrenOf(path, true);
    if (!children) return std::nullopt;
    QStringList names;
    names.reserve(qsizetype(children->size()));
    for (const Child& child : *children)
        names.append(child.name);
    for (const Child& child : *children)
        if (child.folder) appendNested(path, child.name, 1, names);
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

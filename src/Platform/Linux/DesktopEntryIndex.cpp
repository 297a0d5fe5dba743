#include "DesktopEntryIndex.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <cstdlib>
#include <functional>
#include <sys/stat.h>

namespace {

// Bounds for a pathological folder tree; real ones hold a few hundred entries, two levels deep.
constexpr int maximumDepth = 4;
constexpr int maximumFiles = 20000;
// Time stamps this close to the reading are not trusted to change again on the next write.
constexpr qint64 racyWindowNs = 2'000'000'000;

qint64 modifiedNs(const QString& folder) {
    struct stat status {};
    if (::stat(QFile::encodeName(folder).constData(), &status) != 0) return -1;
    return qint64(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec;
}

const DesktopEntry* firstMatch(const QList<DesktopEntry>& list,
                               const std::function<bool(const DesktopEntry&)>& matches) {
    // Helpers that share an application's window class or program are usually NoDisplay.
    for (const bool noDisplay : {false, true}) {
        for (const DesktopEntry& entry : list)
            if (!entry.hidden && entry.noDisplay == noDisplay && matches(entry)) return &entry;
    }
    return nullptr;
}

bool sameProgram(const QString& candidate, const QString& program, bool truncated) {
    if (candidate.isEmpty()) return false;
    if (candidate == program) return true;
    return truncated && candidate.toUtf8().startsWith(program.toUtf8());
}

struct Scan {
    QList<DesktopEntry>& list;
    QSet<QString>& seen;
    std::vector<std::pair<QString, qint64>>& folders;
    int files = 0;

    void folder(const QString& root, const QString& relative, int depth) {
        const QString path = relative.isEmpty() ? root : root + QLatin1Char('/') + relative;
        folders.emplace_back(path, modifiedNs(path));
        const QFileInfoList children = QDir(path).entryInfoList(
            QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System | QDir::Hidden, QDir::Name);
        for (const QFileInfo& child : children) {
            if (++files > maximumFiles) return;
            const QString name =
                relative.isEmpty() ? child.fileName() : relative + QLatin1Char('/') + child.fileName();
            // Linked folders are not entered: that is where loops come from.
            if (child.isDir() && !child.isSymLink()) {
                if (depth < maximumDepth) folder(root, name, depth + 1);
                continue;
            }
            if (!name.endsWith(QLatin1String(".desktop"))) continue;
            QString id = name;
            id.replace(QLatin1Char('/'), QLatin1Char('-'));
            if (seen.contains(id)) continue;
            if (auto entry = DesktopEntry::read(child.filePath(), id)) {
                seen.insert(id);
                list.append(std::move(*entry));
            }
        }
    }
};

} // namespace

const DesktopEntry* DesktopEntryIndex::Entries::withId(const QString& id) const {
    const auto found = byId.constFind(id);
    return found == byId.constEnd() ? nullptr : &list[*found];
}

const DesktopEntry* DesktopEntryIndex::Entries::atPath(const QString& path) const {
    const auto found = byPath.constFind(QDir::cleanPath(path));
    return found == byPath.constEnd() ? nullptr : &list[*found];
}

const DesktopEntry* DesktopEntryIndex::Entries::withStartupWMClass(const QString& wmClass,
                                                                   const QString& wmInstance) const {
    for (const QString& name : {wmClass, wmInstance}) {
        if (name.isEmpty()) continue;
        if (auto* entry = firstMatch(list, [&](const DesktopEntry& e) { return e.startupWMClass == name; }))
            return entry;
    }
    return nullptr;
}

const DesktopEntry* DesktopEntryIndex::Entries::namedLike(const QString& wmClass,
                                                          const QString& wmInstance) const {
    for (const QString& name : {wmClass, wmInstance}) {
        if (name.isEmpty()) continue;
        if (auto* entry = firstMatch(list, [&](const DesktopEntry& e) {
                return e.idStem().compare(name, Qt::CaseInsensitive) == 0 ||
                       e.fileStem().compare(name, Qt::CaseInsensitive) == 0;
            }))
            return entry;
    }
    return nullptr;
}

const DesktopEntry* DesktopEntryIndex::Entries::running(const QString& program, bool truncated) const {
    if (program.isEmpty()) return nullptr;
    return firstMatch(list, [&](const DesktopEntry& e) {
        // A terminal entry's program runs inside a terminal window, never in a window of its own.
        if (e.terminal) return false;
        return sameProgram(e.executable, program, truncated) ||
               sameProgram(QFileInfo(e.tryExec).fileName(), program, truncated);
    });
}

std::shared_ptr<const DesktopEntryIndex::Entries> DesktopEntryIndex::entries() {
    const QStringList roots = applicationFolders();
    std::lock_guard lock(mutex_);
    if (!entries_ || racy_ || !unchanged(roots)) rescan(roots);
    return entries_;
}

bool DesktopEntryIndex::unchanged(const QStringList& roots) const {
    if (roots != roots_) return false;
    for (const Folder& folder : folders_)
        if (modifiedNs(folder.path) != folder.modified) return false;
    return true;
}

void DesktopEntryIndex::rescan(const QStringList& roots) {
    const qint64 started = QDateTime::currentMSecsSinceEpoch() * 1'000'000;
    auto fresh = std::make_shared<Entries>();
    QSet<QString> seen;
    std::vector<std::pair<QString, qint64>> folders;
    for (const QString& root : roots) {
        Scan scan{fresh->list, seen, folders};
        scan.folder(root, QString(), 0);
    }
    for (qsizetype i = 0; i < fresh->list.size(); ++i) {
        fresh->byId.insert(fresh->list[i].id, i);
        fresh->byPath.insert(QDir::cleanPath(fresh->list[i].path), i);
    }

    folders_.clear();
    racy_ = false;
    for (auto& [path, modified] : folders) {
        racy_ = racy_ || modified > started - racyWindowNs;
        folders_.push_back({std::move(path), modified});
    }
    roots_ = roots;
    entries_ = std::move(fresh);
}

namespace {

QStringList foldersOfEnvironment() {
    QStringList folders;
    const auto add = [&folders](const QString& base) {
        // Relative paths in these variables are invalid and ignored.
        if (!base.startsWith(QLatin1Char('/'))) return;
        const QString folder = QDir::cleanPath(base + QLatin1String("/applications"));
        if (!folders.contains(folder)) folders.append(folder);
    };
    QString home = qEnvironmentVariable("XDG_DATA_HOME");
    if (!home.startsWith(QLatin1Char('/'))) home = QDir::homePath() + QLatin1String("/.local/share");
    add(home);
    QString dirs = qEnvironmentVariable("XDG_DATA_DIRS");
    if (dirs.isEmpty()) dirs = QStringLiteral("/usr/local/share:/usr/share");
    for (const QString& dir : dirs.split(QLatin1Char(':'), Qt::SkipEmptyParts))
        add(dir);
    return folders;
}

} // namespace

QStringList DesktopEntryIndex::applicationFolders() {
    // Worked out again only when a variable they follow changed: every look-up of an entry asks
    // for them, and working them out costs more than the rest of a look-up that finds no change.
    struct Known {
        QByteArray home, dataHome, dataDirs;
        QStringList folders;
        bool valid = false;
    };
    thread_local Known known;
    // Compared where they stand: copying them out would cost more than the comparison.
    const auto same = [](const char* name, const QByteArray& value) {
        const char* now = ::getenv(name);
        return now ? value == now : value.isNull();
    };
    if (!known.valid || !same("HOME", known.home) || !same("XDG_DATA_HOME", known.dataHome) ||
        !same("XDG_DATA_DIRS", known.dataDirs)) {
        known = {qgetenv("HOME"), qgetenv("XDG_DATA_HOME"), qgetenv("XDG_DATA_DIRS"), foldersOfEnvironment(),
                 true};
    }
    return known.folders;
}

QString DesktopEntryIndex::desktopFileId(const QString& path, const QStringList& folders) {
    const QString clean = QDir::cleanPath(path);
    for (const QString& folder : folders) {
        // Compared in place: this runs once for every entry of a scan.
        if (clean.size() > folder.size() && clean.at(folder.size()) == QLatin1Char('/') &&
            clean.startsWith(folder)) {
            QString id = clean.mid(folder.size() + 1);
            id.replace(QLatin1Char('/'), QLatin1Char('-'));
            return id;
        }
    }
    return QFileInfo(clean).fileName();
}

#pragma once

#include "DesktopEntry.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <mutex>
#include <vector>

/// The desktop entries in effect, read from the XDG applications folders and kept until a
/// folder changes. Thread-safe.
class DesktopEntryIndex final {
public:
    /// One reading of the folders: each id once, from the first folder that has it, in
    /// precedence order. Look-ups prefer entries shown in menus over NoDisplay ones and never
    /// answer with a Hidden (deleted) entry.
    struct Entries {
        QList<DesktopEntry> list;
        QHash<QString, qsizetype> byId;
        QHash<QString, qsizetype> byPath;

        const DesktopEntry* withId(const QString& id) const;
        const DesktopEntry* atPath(const QString& path) const;
        /// The entry whose StartupWMClass is the window's class (or, failing that, instance).
        const DesktopEntry* withStartupWMClass(const QString& wmClass, const QString& wmInstance) const;
        /// The entry whose id or file name, less ".desktop", is the class or instance, in any case.
        const DesktopEntry* namedLike(const QString& wmClass, const QString& wmInstance) const;
        /// The entry whose Exec or TryExec runs the program of this file name. `truncated` says
        /// the name may be cut short (the kernel keeps 15 bytes of a process name).
        const DesktopEntry* running(const QString& program, bool truncated) const;
    };

    /// The current entries, read again when an applications folder (or one below it) changed.
    std::shared_ptr<const Entries> entries();

    /// The applications folders, the user's first: $XDG_DATA_HOME (or ~/.local/share), then
    /// each of $XDG_DATA_DIRS (or /usr/local/share:/usr/share), each followed by /applications.
    static QStringList applicationFolders();
    /// The desktop-file id of the entry at `path`: its path below the first folder holding it,
    /// '/' turned into '-'; its file name when no folder holds it.
    static QString desktopFileId(const QString& path, const QStringList& folders);

private:
    struct Folder {
        QString path;
        qint64 modified;
    };
    void rescan(const QStringList& roots);
    bool unchanged(const QStringList& roots) const;

    std::mutex mutex_;
    std::shared_ptr<const Entries> entries_;
    QStringList roots_;
    std::vector<Folder> folders_;
    // A folder changed within the file system's time resolution of the last reading: a later
    // change might leave its time stamp as it is, so the next call reads again.
    bool racy_ = false;
};

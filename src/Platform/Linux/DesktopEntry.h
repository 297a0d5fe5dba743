#pragma once

#include <QString>

#include <optional>

/// One application's desktop entry (a `.desktop` file), read once into a plain value.
struct DesktopEntry {
    /// The desktop-file id: the path below its applications folder with '/' turned into '-'
    /// ("kde-konsole.desktop").
    QString id;
    QString path;
    QString name;
    /// Name for the user's locale; the plain Name when there is no translation.
    QString localizedName;
    QString exec;
    QString tryExec;
    /// An absolute image path or an icon-theme name.
    QString icon;
    QString startupWMClass;
    bool noDisplay = false;
    bool hidden = false;
    bool terminal = false;
    /// The file name of the program that Exec runs ("xterm" for "/usr/bin/xterm -e top").
    QString executable;

    bool operator==(const DesktopEntry&) const = default;

    /// The entry at `path`, known by `id`; nothing when the file is not an application entry
    /// (unreadable, not a key file, over 1 MiB, no [Desktop Entry] group, no Name, not of
    /// type Application, or neither Exec nor D-Bus activation).
    static std::optional<DesktopEntry> read(const QString& path, const QString& id);

    /// Whether the program named by TryExec can be found (true when there is no TryExec).
    /// An entry whose TryExec is missing names an application that is not installed.
    bool isInstalled() const;
    /// The id without ".desktop", and the file's own base name: the names a window class is
    /// compared with.
    QString idStem() const;
    QString fileStem() const;
};

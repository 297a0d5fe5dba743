#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

/// The applications folders of one test: the user's ($XDG_DATA_HOME/applications, emptied)
/// and a system one standing for /usr/share (XDG_DATA_DIRS points at it until the end).
class EntryFolders {
public:
    EntryFolders();
    ~EntryFolders();
    EntryFolders(const EntryFolders&) = delete;
    EntryFolders& operator=(const EntryFolders&) = delete;

    /// Writes `body` to `relative` below `folder` (creating sub-folders) and returns its path.
    static QString write(const QString& folder, const QString& relative, const QByteArray& body);
    QString writeUser(const QString& relative, const QByteArray& body) { return write(user, relative, body); }

    QString user;
    QString system;

private:
    QByteArray previousDataDirs_;
};

/// An application entry's text with these Name and Exec, and any further lines.
QByteArray entryText(const QString& name, const QString& exec, const QStringList& more = {});

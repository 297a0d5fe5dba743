#pragma once

#include <vector>

#include "Keyboard/AppEntry.h"
#include "Support/FileIO.h"

#include <QHash>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

/// The user's key bindings: kept in memory for the editor and written whole to
/// "keyBindings.json" after every change. The file is also the only channel to the hotkey
/// path, which reads it afresh for every stroke.
class KeyBindingStore : public QObject {
    Q_OBJECT
    Q_PROPERTY(Bindings bindings READ bindings NOTIFY bindingsChanged)

public:
    using Bindings = QHash<QString, AppEntry>;

    /// One binding as stored in the file.
    struct StoredBinding {
        QString key;
        AppEntry entry;
        bool operator==(const StoredBinding&) const = default;
    };

    /// One key looked up in the bindings file: its entry, and how many bindings the file holds.
    struct Lookup {
        std::optional<AppEntry> entry;
        qsizetype count = 0;
    };

    /// Largest bindings file we read. A bigger one counts as undecodable: the file is read on
    /// the event-tap thread for every stroke, and a huge one would stall all keyboard input.
    static constexpr qint64 maxFileBytes = 1024 * 1024;

    /// `filePath` defaults to defaultFileURL(). The file is not read here.
    explicit KeyBindingStore(std::optional<QString> filePath = std::nullopt, QObject* parent = nullptr);

    /// "keyBindings.json" in the data folder.
    static QString defaultFileURL();

    const Bindings& bindings() const { return bindings_; }
    /// The key codes (TapEvent::keyCode) of the bound keys, in layout order.
    std::vector<std::int64_t> boundKeyCodes() const;
    const QString& fileURL() const { return fileURL_; }
    bool isLoaded() const { return loaded_; }
    /// Set when load() found a file it could not use: the bindings then start empty, and the
    /// first save keeps that file beside the new one instead of replacing it.
    const std::optional<FileIO::UnreadableFile>& unreadableFile() const { return unreadable_; }

    /// Reads the file into `bindings` the first time; later calls do nothing.
    void load();
    /// Binds the application to one of the 47 keys and saves. False for any other key.
    bool bind(const QString& key, const AppEntry& entry);
    /// Removes the key's binding and saves; a key that is not bound writes nothing.
    void unbind(const QString& key);
    /// Brings stored paths up to date with a fresh scan; saves once if anything changed.
    void refreshPaths(const std::function<std::optional<QString>(const QString& bundleId)>& lookup);

    /// Reads a bindings file. Missing or unreadable: empty, silently. Undecodable: empty and
    /// one log line. Keys that are not among the 47 are dropped; the first duplicate wins.
    static Bindings snapshot(const QString& path);
    /// The same reading and validation as snapshot(), building only the entry of `keyID`.
    static Lookup lookup(const QString& path, QStringView keyID);
    /// The file's bytes for these bindings: ascending keys, compact, slashes escaped.
    static QByteArray encode(const Bindings& bindings);

signals:
    void bindingsChanged();
    void unreadableFileChanged();

private:
    void save();
    /// Moves an unreadable file out of the new file's way, once; false when it must stay and
    /// nothing may be written over it.
    bool keepUnreadableAside();

    Bindings bindings_;
    QString fileURL_;
    bool loaded_ = false;
    std::optional<FileIO::UnreadableFile> unreadable_;
};

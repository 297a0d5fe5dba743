// Applications folders of many entries, nested, with links that loop: the entry index and the
// installed-app scan finish, and list every real entry once. (How long they take is no test's
// business.)
#include "EntryFolders.h"
#include "Keyboard/AppCatalog.h"
#include "PlatformWithEntries.h"
#include "Platform/X11/DesktopEntryIndex.h"
#include "Platform/X11/X11Bundles.h"

#include <QDir>
#include <QFile>
#include <QSet>

#include <gtest/gtest.h>

TEST(EntryScale, ManyEntriesAndLinkLoopsAreEachListedOnce) {
    constexpr int entryCount = 1000;
    EntryFolders folders;
    QSet<QString> ids;
    for (int n = 0; n < entryCount; ++n) {
        // Most in the user's folder, some a level down, the rest in the system folder.
        const QString name = QStringLiteral("app%1.desktop").arg(n, 4, 10, QLatin1Char('0'));
        const QString relative = n % 10 == 0 ? QStringLiteral("vendor/") + name : name;
        folders.write(n % 4 == 0 ? folders.system : folders.user, relative,
                      entryText(QStringLiteral("App %1").arg(n), QStringLiteral("app%1 --flag").arg(n)));
        ids.insert(QString(relative).replace(QLatin1Char('/'), QLatin1Char('-')));
    }
    // A folder linked to its own parent, one linked to the root, a file linked to itself, and
    // two files linked to each other.
    QFile::link(folders.user, folders.user + QStringLiteral("/vendor/up"));
    QFile::link(folders.user, folders.user + QStringLiteral("/again"));
    QFile::link(folders.system, folders.system + QStringLiteral("/vendor/again.desktop"));
    QFile::link(folders.user + QStringLiteral("/self.desktop"),
                folders.user + QStringLiteral("/self.desktop"));
    QFile::link(folders.user + QStringLiteral("/b.desktop"), folders.user + QStringLiteral("/a.desktop"));
    QFile::link(folders.user + QStringLiteral("/a.desktop"), folders.user + QStringLiteral("/b.desktop"));

    DesktopEntryIndex index;
    const auto entries = index.entries();

    PlatformWithEntries platform;
    Platform::install(&platform);
    const QList<AppEntry> scanned = AppCatalog::scan(AppCatalog::defaultRoots());
    Platform::install(nullptr);

    QSet<QString> indexed;
    for (const DesktopEntry& entry : entries->list) {
        EXPECT_FALSE(indexed.contains(entry.id)) << entry.id.toStdString() << " indexed twice";
        indexed.insert(entry.id);
    }
    EXPECT_EQ(indexed, ids);

    QSet<QString> found;
    for (const AppEntry& app : scanned) {
        EXPECT_FALSE(found.contains(app.bundleId)) << app.bundleId.toStdString() << " scanned twice";
        found.insert(app.bundleId);
    }
    EXPECT_EQ(found, ids);
}

// Reading desktop entries and keeping an index of them: plain files, no display needed.
#include "EntryFolders.h"
#include "Platform/X11/DesktopEntry.h"
#include "Platform/X11/DesktopEntryIndex.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

std::optional<DesktopEntry> readAt(const QString& path) {
    return DesktopEntry::read(path, QStringLiteral("probe.desktop"));
}

} // namespace

TEST(DesktopEntryReading, TakesEveryFieldOfAnApplicationEntry) {
    EntryFolders folders;
    const QString path = folders.writeUser(
        QStringLiteral("probe.desktop"),
        entryText(QStringLiteral("Probe"),
                  QStringLiteral("/usr/bin/env LANG=C kestavon-tool --flag \"two words\" %U"),
                  {QStringLiteral("Name[de]=Sonde"), QStringLiteral("TryExec=/opt/kestavon/kestavon-tool"),
                   QStringLiteral("Icon=kestavon-probe"), QStringLiteral("StartupWMClass=KestavonProbe"),
                   QStringLiteral("NoDisplay=true"), QStringLiteral("Terminal=true")}));
    qputenv("LANGUAGE", "de");
    const auto entry = readAt(path);
    qunsetenv("LANGUAGE");

    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->id, QStringLiteral("probe.desktop"));
    EXPECT_EQ(entry->path, path);
    EXPECT_EQ(entry->name, QStringLiteral("Probe"));
    EXPECT_EQ(entry->localizedName, QStringLiteral("Sonde"));
    EXPECT_EQ(entry->tryExec, QStringLiteral("/opt/kestavon/kestavon-tool"));
    EXPECT_EQ(entry->icon, QStringLiteral("kestavon-probe"));
    EXPECT_EQ(entry->startupWMClass, QStringLiteral("KestavonProbe"));
    EXPECT_TRUE(entry->noDisplay);
    EXPECT_FALSE(entry->hidden);
    EXPECT_TRUE(entry->terminal);
    // The program behind "env NAME=value".
    EXPECT_EQ(entry->executable, QStringLiteral("kestavon-tool"));
    EXPECT_FALSE(entry->isInstalled());
}

TEST(DesktopEntryReading, AnythingButAnApplicationEntryGivesNothing) {
    EntryFolders folders;
    QByteArray garbage(4096, '\0');
    for (char& byte : garbage)
        byte = char(QRandomGenerator::global()->bounded(256));
    QByteArray huge = entryText(QStringLiteral("Huge"), QStringLiteral("xterm"));
    huge += QByteArray(1 << 20, '#');
    const QStringList bad{
        folders.writeUser(QStringLiteral("text.desktop"), "just some words\nwithout a group\n"),
        folders.writeUser(QStringLiteral("binary.desktop"), garbage),
        folders.writeUser(QStringLiteral("other-group.desktop"),
                          "[Something Else]\nType=Application\nName=X\nExec=x\n"),
        folders.writeUser(QStringLiteral("nameless.desktop"),
                          "[Desktop Entry]\nType=Application\nExec=xterm\n"),
        folders.writeUser(QStringLiteral("link.desktop"),
                          "[Desktop Entry]\nType=Link\nName=Web\nURL=https://x\n"),
        folders.writeUser(QStringLiteral("no-exec.desktop"),
                          "[Desktop Entry]\nType=Application\nName=Nothing\n"),
        folders.writeUser(QStringLiteral("huge.desktop"), huge),
        folders.user + QStringLiteral("/missing.desktop"),
    };
    for (const QString& path : bad)
        EXPECT_FALSE(readAt(path)) << path.toStdString();

    // Neither a folder, nor a FIFO (which must not block), nor a symlink loop.
    QDir().mkpath(folders.user + QStringLiteral("/folder.desktop"));
    const QString fifo = folders.user + QStringLiteral("/fifo.desktop");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QFile::link(folders.user + QStringLiteral("/loop-b.desktop"),
                folders.user + QStringLiteral("/loop-a.desktop"));
    QFile::link(folders.user + QStringLiteral("/loop-a.desktop"),
                folders.user + QStringLiteral("/loop-b.desktop"));
    for (const char* name : {"/folder.desktop", "/fifo.desktop", "/loop-a.desktop"})
        EXPECT_FALSE(readAt(folders.user + QLatin1String(name))) << name;
}

TEST(DesktopFileIds, FollowTheFoldersUserFirst) {
    EntryFolders folders;
    const QString data = qEnvironmentVariable("XDG_DATA_HOME");
    qputenv("XDG_DATA_DIRS", "/opt/one/:relative/share::/opt/two");
    const QStringList roots = DesktopEntryIndex::applicationFolders();
    EXPECT_EQ(roots,
              (QStringList{data + QStringLiteral("/applications"), QStringLiteral("/opt/one/applications"),
                           QStringLiteral("/opt/two/applications")}));

    qunsetenv("XDG_DATA_DIRS");
    EXPECT_EQ(DesktopEntryIndex::applicationFolders().mid(1),
              (QStringList{QStringLiteral("/usr/local/share/applications"),
                           QStringLiteral("/usr/share/applications")}));

    EXPECT_EQ(
        DesktopEntryIndex::desktopFileId(QStringLiteral("/opt/two/applications/kde/konsole.desktop"), roots),
        QStringLiteral("kde-konsole.desktop"));
    EXPECT_EQ(DesktopEntryIndex::desktopFileId(QStringLiteral("/elsewhere/tool.desktop"), roots),
              QStringLiteral("tool.desktop"));
}

TEST(DesktopEntryIndexing, TheUsersEntryShadowsTheSystemsAndNestedOnesAreFound) {
    EntryFolders folders;
    const QString mine =
        folders.writeUser(QStringLiteral("editor.desktop"), entryText(QStringLiteral("Mine"), "ed"));
    folders.write(folders.system, QStringLiteral("editor.desktop"),
                  entryText(QStringLiteral("System"), "ed"));
    folders.write(folders.system, QStringLiteral("kde/konsole.desktop"),
                  entryText(QStringLiteral("Konsole"), "konsole"));
    // A malformed user entry does not hide a good system one.
    folders.writeUser(QStringLiteral("broken.desktop"), "not an entry");
    folders.write(folders.system, QStringLiteral("broken.desktop"),
                  entryText(QStringLiteral("Fixed"), "fixed"));

    DesktopEntryIndex index;
    const auto entries = index.entries();
    ASSERT_TRUE(entries->withId(QStringLiteral("editor.desktop")));
    EXPECT_EQ(entries->withId(QStringLiteral("editor.desktop"))->path, mine);
    EXPECT_EQ(entries->withId(QStringLiteral("kde-konsole.desktop"))->name, QStringLiteral("Konsole"));
    EXPECT_EQ(entries->withId(QStringLiteral("broken.desktop"))->name, QStringLiteral("Fixed"));
    EXPECT_EQ(entries->list.size(), 3);
}

TEST(DesktopEntryIndexing, ReadsAgainOnlyWhenAFolderChanged) {
    EntryFolders folders;
    QDir().mkpath(folders.system + QStringLiteral("/vendor"));
    // Time stamps a minute old, so that only a change made by the test counts as recent.
    const auto age = [&] {
        for (const QString& folder :
             {folders.user, folders.system, folders.system + QStringLiteral("/vendor")}) {
            const struct timespec old[2] = {{::time(nullptr) - 60, 0}, {::time(nullptr) - 60, 0}};
            ::utimensat(AT_FDCWD, QFile::encodeName(folder).constData(), old, 0);
        }
    };
    age();
    DesktopEntryIndex index;
    const auto first = index.entries();
    EXPECT_EQ(index.entries().get(), first.get()) << "read again though nothing changed";

    folders.writeUser(QStringLiteral("new.desktop"), entryText(QStringLiteral("New"), QStringLiteral("new")));
    EXPECT_TRUE(index.entries()->withId(QStringLiteral("new.desktop")));
    age();
    index.entries();
    folders.write(folders.system, QStringLiteral("vendor/deep.desktop"),
                  entryText(QStringLiteral("Deep"), QStringLiteral("deep")));
    EXPECT_TRUE(index.entries()->withId(QStringLiteral("vendor-deep.desktop"))) << "a change in a sub-folder";
    age();
    index.entries();
    QFile::remove(folders.user + QStringLiteral("/new.desktop"));
    EXPECT_FALSE(index.entries()->withId(QStringLiteral("new.desktop")));
}

TEST(DesktopEntryLookups, PreferShownEntriesAndNeverHiddenOnes) {
    EntryFolders folders;
    folders.writeUser(
        QStringLiteral("a-helper.desktop"),
        entryText(QStringLiteral("Helper"), "kestavon-app --helper", {QStringLiteral("NoDisplay=true")}));
    folders.writeUser(QStringLiteral("b-deleted.desktop"),
                      entryText(QStringLiteral("Deleted"), "kestavon-app", {QStringLiteral("Hidden=true")}));
    folders.writeUser(
        QStringLiteral("c-in-terminal.desktop"),
        entryText(QStringLiteral("In Terminal"), "kestavon-app", {QStringLiteral("Terminal=true")}));
    folders.writeUser(
        QStringLiteral("d-app.desktop"),
        entryText(QStringLiteral("App"), "kestavon-app %U", {QStringLiteral("StartupWMClass=KestavonApp")}));
    folders.writeUser(QStringLiteral("Org.Kestavon.Viewer.desktop"),
                      entryText(QStringLiteral("Viewer"), "viewer"));
    folders.writeUser(QStringLiteral("e-wrapped.desktop"),
                      entryText(QStringLiteral("Wrapped"), "kestavon-wrapper-script-name",
                                {QStringLiteral("TryExec=/opt/kestavon/bin/kestavon-long-program-name")}));

    DesktopEntryIndex index;
    const auto entries = index.entries();
    const auto idOf = [](const DesktopEntry* entry) { return entry ? entry->id : QStringLiteral("(none)"); };
    EXPECT_EQ(idOf(entries->running(QStringLiteral("kestavon-app"), false)), QStringLiteral("d-app.desktop"));
    EXPECT_EQ(idOf(entries->withStartupWMClass(QStringLiteral("KestavonApp"), QStringLiteral("x"))),
              QStringLiteral("d-app.desktop"));
    EXPECT_EQ(idOf(entries->namedLike(QStringLiteral("org.kestavon.viewer"), QString())),
              QStringLiteral("Org.Kestavon.Viewer.desktop"));
    // The kernel keeps 15 bytes of a process name.
    EXPECT_EQ(idOf(entries->running(QStringLiteral("kestavon-long-p"), true)),
              QStringLiteral("e-wrapped.desktop"));
    EXPECT_EQ(idOf(entries->running(QStringLiteral("kestavon-long-p"), false)), QStringLiteral("(none)"));
    EXPECT_EQ(idOf(entries->namedLike(QStringLiteral("b-deleted"), QString())), QStringLiteral("(none)"));
}

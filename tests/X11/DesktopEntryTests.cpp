// Desktop entries as the installed applications of the scan.
#include "Platform/X11/X11Bundles.h"
#include "WorkspaceFixture.h"

#include <QFile>

#include <sys/stat.h>

using DesktopEntries = WorkspaceFixture;

TEST_F(DesktopEntries, AnEntrySaysItsIdNamesAndWhetherItIsAnAgentAndAnythingElseIsNone) {
    const QString shown = write(
        systemFolder, QStringLiteral("gnome/editor.desktop"),
        entryText(QStringLiteral("Editor"), QStringLiteral("editor %F"),
                  {QStringLiteral("Icon=/opt/editor/icon.png"), QStringLiteral("Name[de]=Bearbeiter")}));
    const QString noDisplay = writeUser(
        QStringLiteral("helper.desktop"),
        entryText(QStringLiteral("Helper"), QStringLiteral("helper"), {QStringLiteral("NoDisplay=true")}));
    const QString hidden =
        writeUser(QStringLiteral("gone.desktop"),
                  entryText(QStringLiteral("Gone"), "gone", {QStringLiteral("Hidden=true")}));
    const QString malformed = writeUser(QStringLiteral("bad.desktop"), "[Desktop Entry]\nName=\n");
    const QString notInstalled = writeUser(QStringLiteral("absent.desktop"),
                                           entryText(QStringLiteral("Absent"), QStringLiteral("absent"),
                                                     {QStringLiteral("TryExec=kestavon-not-here")}));
    // Neither may block a reader: a FIFO, and a link that loops.
    const QString fifo = userFolder + QStringLiteral("/fifo.desktop");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString loop = userFolder + QStringLiteral("/loop.desktop");
    QFile::link(loop, loop);

    X11Bundles bundles;
    qputenv("LANGUAGE", "de_DE");
    const auto german = bundles.bundleInfo(shown);
    qputenv("LANGUAGE", "fr");
    const auto french = bundles.bundleInfo(shown);
    qunsetenv("LANGUAGE");
    const QString id = QStringLiteral("gnome-editor.desktop");
    EXPECT_EQ(german, (BundleInfo{id, {QStringLiteral("Bearbeiter"), QStringLiteral("Editor")}, false}));
    EXPECT_EQ(french, (BundleInfo{id, {QStringLiteral("Editor")}, false}));
    EXPECT_EQ(bundles.iconName(shown), QStringLiteral("/opt/editor/icon.png"));
    EXPECT_EQ(bundles.bundleInfo(noDisplay),
              (BundleInfo{QStringLiteral("helper.desktop"), {QStringLiteral("Helper")}, true}));
    EXPECT_TRUE(bundles.bundleInfo(hidden)->agentOnly);

    for (const QString& none : {malformed, notInstalled, fifo, loop, userFolder})
        EXPECT_EQ(bundles.bundleInfo(none), std::nullopt) << none.toStdString();
    EXPECT_EQ(bundles.iconName(malformed), QString());
    EXPECT_EQ(bundles.contentsOfDirectory(userFolder + QStringLiteral("/missing")), std::nullopt);
}

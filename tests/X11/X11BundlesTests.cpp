// Desktop entries as the installed applications of the scan (which EntryScale runs in full).
#include "EntryFolders.h"
#include "Platform/X11/X11Bundles.h"

#include <gtest/gtest.h>

TEST(X11Bundles, AnEntrySaysItsIdNamesAndWhetherItIsAnAgent) {
    EntryFolders folders;
    const QString shown = folders.write(
        folders.system, QStringLiteral("gnome/editor.desktop"),
        entryText(QStringLiteral("Editor"), QStringLiteral("editor %F"),
                  {QStringLiteral("Icon=/opt/editor/icon.png"), QStringLiteral("Name[de]=Bearbeiter")}));
    const QString noDisplay = folders.writeUser(
        QStringLiteral("helper.desktop"),
        entryText(QStringLiteral("Helper"), QStringLiteral("helper"), {QStringLiteral("NoDisplay=true")}));
    const QString hidden = folders.writeUser(
        QStringLiteral("gone.desktop"),
        entryText(QStringLiteral("Gone"), QStringLiteral("gone"), {QStringLiteral("Hidden=true")}));
    const QString malformed = folders.writeUser(QStringLiteral("bad.desktop"), "[Desktop Entry]\nName=\n");
    const QString notInstalled = folders.writeUser(
        QStringLiteral("absent.desktop"), entryText(QStringLiteral("Absent"), QStringLiteral("absent"),
                                                    {QStringLiteral("TryExec=kestavon-not-here")}));

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

    // What is not an installed application is none.
    EXPECT_EQ(bundles.bundleInfo(malformed), std::nullopt);
    EXPECT_EQ(bundles.iconName(malformed), QString());
    EXPECT_EQ(bundles.bundleInfo(notInstalled), std::nullopt);
    EXPECT_EQ(bundles.bundleInfo(folders.user), std::nullopt);
    EXPECT_EQ(bundles.contentsOfDirectory(folders.user + QStringLiteral("/missing")), std::nullopt);
}

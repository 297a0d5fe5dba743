// Desktop entries as the bundles of the installed-app scan (which EntryScale runs in full).
#include "EntryFolders.h"
#include "Platform/X11/X11Bundles.h"

#include <gtest/gtest.h>

TEST(X11Bundles, AnEntrySaysItsIdNameAndWhetherItIsAnAgent) {
    EntryFolders folders;
    const QString shown = folders.write(folders.system, QStringLiteral("gnome/editor.desktop"),
                                        entryText(QStringLiteral("Editor"), QStringLiteral("editor %F"),
                                                  {QStringLiteral("Icon=/opt/editor/icon.png")}));
    const QString noDisplay = folders.writeUser(
        QStringLiteral("helper.desktop"),
        entryText(QStringLiteral("Helper"), QStringLiteral("helper"), {QStringLiteral("NoDisplay=true")}));
    const QString hidden = folders.writeUser(
        QStringLiteral("gone.desktop"),
        entryText(QStringLiteral("Gone"), QStringLiteral("gone"), {QStringLiteral("Hidden=true")}));

    X11Bundles bundles;
    const auto info = bundles.infoDictionary(shown);
    ASSERT_TRUE(info);
    EXPECT_EQ(*info,
              (QVariantMap{{QStringLiteral("CFBundleIdentifier"), QStringLiteral("gnome-editor.desktop")},
                           {QStringLiteral("CFBundleName"), QStringLiteral("Editor")},
                           {QStringLiteral("LSUIElement"), false}}));
    EXPECT_EQ(info->value(QStringLiteral("LSUIElement")).metaType(), QMetaType::fromType<bool>());
    EXPECT_EQ(bundles.iconName(shown), QStringLiteral("/opt/editor/icon.png"));
    EXPECT_EQ(bundles.infoDictionary(noDisplay)->value(QStringLiteral("LSUIElement")), QVariant(true));
    EXPECT_EQ(bundles.infoDictionary(hidden)->value(QStringLiteral("LSUIElement")), QVariant(true));
}

TEST(X11Bundles, TheLocalizedNameIsGivenOnlyWhenItDiffers) {
    EntryFolders folders;
    const QString path = folders.writeUser(
        QStringLiteral("files.desktop"),
        entryText(QStringLiteral("Files"), QStringLiteral("files"), {QStringLiteral("Name[de]=Dateien")}));
    X11Bundles bundles;
    qputenv("LANGUAGE", "de_DE");
    const auto german = bundles.localizedInfoDictionary(path);
    qputenv("LANGUAGE", "fr");
    const auto french = bundles.localizedInfoDictionary(path);
    qunsetenv("LANGUAGE");
    EXPECT_EQ(german, (QVariantMap{{QStringLiteral("CFBundleName"), QStringLiteral("Dateien")}}));
    EXPECT_EQ(french, std::nullopt);
}

TEST(X11Bundles, WhatIsNotAnInstalledApplicationIsNoBundle) {
    EntryFolders folders;
    X11Bundles bundles;
    const QString malformed = folders.writeUser(QStringLiteral("bad.desktop"), "[Desktop Entry]\nName=\n");
    const QString notInstalled = folders.writeUser(
        QStringLiteral("absent.desktop"), entryText(QStringLiteral("Absent"), QStringLiteral("absent"),
                                                    {QStringLiteral("TryExec=kestavon-not-here")}));
    EXPECT_EQ(bundles.infoDictionary(malformed), std::nullopt);
    EXPECT_EQ(bundles.iconName(malformed), QString());
    EXPECT_EQ(bundles.infoDictionary(notInstalled), std::nullopt);
    EXPECT_EQ(bundles.infoDictionary(folders.user), std::nullopt);
    EXPECT_EQ(bundles.contentsOfDirectory(folders.user + QStringLiteral("/missing")), std::nullopt);
}

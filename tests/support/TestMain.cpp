// main() of every test program: a private home and data folder per run, so tests never touch
// the user's files and programs running side by side never share a folder.
#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#ifdef KESTAVON_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
using TestApplication = QCoreApplication;
#endif

int main(int argc, char** argv) {
    QTemporaryDir root;
    if (!root.isValid()) return 2;
    qputenv("HOME", root.path().toUtf8());
    qputenv("XDG_DATA_HOME", (root.path() + QStringLiteral("/data")).toUtf8());
    qputenv("XDG_CONFIG_HOME", (root.path() + QStringLiteral("/config")).toUtf8());
    qputenv("KESTAVON_TEST_ROOT", root.path().toUtf8());
#ifdef KESTAVON_TEST_WIDGETS
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
#endif

    TestApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

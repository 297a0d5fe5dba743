// Launches that only count once the program shows a window: programs that end before that fail
// with their exit status and are not counted, a slow window is waited for, a program that hands
// its start on is known by its entry's window, and what is launched starts in the home folder.

#include "StrokeFixture.h"
#include "support/TestSupport.h"

#include <QDir>

#include <csignal>

using Launches = Strokes;

namespace {

struct Failing {
    const char* keyID;
    std::uint8_t key;
    QString exec;
    QString result;
};

} // namespace

TEST_F(Launches, AProgramThatEndsBeforeAWindowFailsWithItsStatusAndIsNotCounted) {
    const std::vector<Failing> cases{
        {"1-q", XKey::q, "sh -c \"exit 3\"", "Launch failed: Quits exited with status 3"},
        {"2-s", XKey::s, "sh -c kestavon-no-such-program", "Launch failed: Quits exited with status 127"},
        {"3-z", XKey::z, "sh -c \"kill -KILL \\\\$\\\\$\"", "Launch failed: Quits was ended by signal 9"},
    };
    QStringList expected;
    for (const Failing& c : cases) {
        const QString id = QStringLiteral("quits-%1.desktop").arg(QLatin1String(c.keyID));
        const QString path = writeUser(id, entryText(QStringLiteral("Quits"), c.exec));
        ASSERT_TRUE(store->bind(QLatin1String(c.keyID), {id, path, QStringLiteral("Quits")}));
        stroke({c.key});
        expected.append(c.result);
        EXPECT_EQ(results(expected.size()), expected);
    }
    EXPECT_EQ(countedJumps() - jumpsBefore, 0);
}

TEST_F(Launches, AreAnsweredOnlyOnceTheWindowIsThereAndStartInTheHomeFolder) {
    const QString scratch = TestSupport::freshFolder();
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(scratch));
    const QString path = writeUser(
        QStringLiteral("slow.desktop"),
        entryText(QStringLiteral("Slow"),
                  QStringLiteral("sh -c \"pwd -P >%1/cwd; sleep 2; exec xterm -class KestavonSlow\"")
                      .arg(scratch)));
    QString error;
    const auto opened = open(path, &error);
    QDir::setCurrent(previous);
    ASSERT_TRUE(opened) << error.toStdString();
    EXPECT_TRUE(windows->windowOf(opened->processIdentifier)) << "answered before the window appeared";
    EXPECT_EQ(TestSupport::readAll(scratch + QStringLiteral("/cwd")).trimmed(),
              QFile::encodeName(QDir(QDir::homePath()).canonicalPath()));
}

TEST_F(Launches, AProgramThatHandsItsStartOnIsKnownByItsEntrysWindow) {
    const QString id = QStringLiteral("handing-on.desktop");
    const QString path =
        writeUser(id, entryText(QStringLiteral("Handing On"),
                                         QStringLiteral("sh -c \"xterm -class KestavonHanded & exit 0\""),
                                         {QStringLiteral("StartupWMClass=KestavonHanded")}));
    QString error;
    const auto opened = open(path, &error);
    ASSERT_TRUE(opened) << error.toStdString();
    EXPECT_EQ(opened->bundleIdentifier, id);
    // Not our child: ended here rather than reaped at the tear-down.
    launched.erase(opened->processIdentifier);
    ::kill(opened->processIdentifier, SIGTERM);
    EXPECT_TRUE(windows->waitUntil([&] { return !windows->windowOf(opened->processIdentifier); }));
}

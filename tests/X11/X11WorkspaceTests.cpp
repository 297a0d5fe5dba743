// Running applications and launching against Xvfb with openbox, driven by real xterm
// processes and desktop entries written by each test.
#include "WorkspaceFixture.h"
#include "support/TestSupport.h"

#include <QDir>

#include <unistd.h>

namespace {

// Our children whose program is xterm: a second launch would show here.
int xtermChildren() {
    int count = 0;
    for (const QString& process :
         QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QByteArray stat = TestSupport::readAll(QStringLiteral("/proc/%1/stat").arg(process));
        const qsizetype close = stat.lastIndexOf(')');
        if (close >= 0 && stat.contains("(xterm)") &&
            stat.mid(close + 4).split(' ').value(0).toInt() == ::getpid())
            ++count;
    }
    return count;
}

} // namespace

using Launching = WorkspaceFixture;
using Mapping = WorkspaceFixture;

TEST_F(Launching, OpensTheEntryKnowsItsWindowAndOpeningItAgainOnlyActivatesIt) {
    // Same program, sorted first: were the launch environment not read, this would be chosen.
    writeUser(QStringLiteral("a-decoy.desktop"), entryText(QStringLiteral("Decoy"), QStringLiteral("xterm")));
    const QString path = writeUser(
        QStringLiteral("launch-probe.desktop"),
        entryText(QStringLiteral("Launch Probe"), QStringLiteral("xterm -class KestavonProbe -T probe")));

    QString error;
    const auto opened = open(path, &error);
    ASSERT_TRUE(opened) << error.toStdString();
    EXPECT_TRUE(error.isEmpty());
    const pid_t pid = opened->processIdentifier;
    EXPECT_EQ(*opened, (RunningApplication{pid, QStringLiteral("Launch Probe"),
                                           QStringLiteral("launch-probe.desktop"), path}));
    const xcb_window_t window = waitForWindowOf(pid);
    EXPECT_EQ(running(pid), opened);
    EXPECT_EQ(workspace->runningApplication(pid), opened);

    // Another program in front (xterm under another name, so it is not taken for this entry).
    const pid_t other = spawn({xtermNamed(QStringLiteral("kestavon-other")), QStringLiteral("-class"),
                               QStringLiteral("KestavonOther")});
    ASSERT_TRUE(windows->activate(waitForWindowOf(other)));
    const int before = xtermChildren();
    const auto again = open(path);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->processIdentifier, pid);
    EXPECT_EQ(xtermChildren(), before) << "a second copy started";
    EXPECT_TRUE(windows->waitUntil([&] { return windows->activeWindow() == window; }));
}

TEST_F(Launching, AmongSeveralRunningCopiesTheOneUsedLastIsActivated) {
    const QString path =
        writeUser(QStringLiteral("twice.desktop"),
                  entryText(QStringLiteral("Twice"), QStringLiteral("xterm -class KestavonTwice")));
    const auto first = open(path);
    ASSERT_TRUE(first);
    OpenConfiguration another;
    another.createsNewApplicationInstance = true;
    const auto second = open(path, nullptr, another);
    ASSERT_TRUE(second);
    ASSERT_NE(second->processIdentifier, first->processIdentifier);
    const std::vector made{waitForWindowOf(first->processIdentifier),
                           waitForWindowOf(second->processIdentifier)};

    for (const auto& [pid, window] :
         {std::pair{first->processIdentifier, made[0]}, std::pair{second->processIdentifier, made[1]}}) {
        ASSERT_TRUE(windows->activate(window));
        ASSERT_TRUE(windows->waitUntil([&] { return windows->topMostOf(made) == window; }));
        EXPECT_EQ(open(path)->processIdentifier, pid);
    }
}

TEST_F(Mapping, AProcessIsToldByItsClassEntryIdOrProgramAndElseByItsClassAlone) {
    const QString program = xtermNamed(QStringLiteral("kestavon-term"));
    // Entries of the same programs, sorted first: chosen were the surer ways not taken first,
    // or were helpers and deleted entries not passed over.
    writeUser(QStringLiteral("a-decoy.desktop"), entryText(QStringLiteral("Decoy"), QStringLiteral("xterm")));
    writeUser(QStringLiteral("a-helper.desktop"),
              entryText(QStringLiteral("Helper"), program + QStringLiteral(" -x"),
                        {QStringLiteral("NoDisplay=true")}));
    writeUser(QStringLiteral("a-deleted.desktop"),
              entryText(QStringLiteral("Deleted"), program, {QStringLiteral("Hidden=true")}));
    const QString byClass = writeUser(QStringLiteral("wmclass.desktop"),
                                      entryText(QStringLiteral("By Class"), QStringLiteral("xterm"),
                                                {QStringLiteral("StartupWMClass=KestavonWmClass")}));
    // The user's entry stands in for the system's of the same id.
    write(systemFolder, QStringLiteral("org.kestavon.IdProbe.desktop"), entryText("System Probe", "xterm"));
    const QString byId = writeUser(QStringLiteral("org.kestavon.IdProbe.desktop"),
                                   entryText(QStringLiteral("Id Probe"), "xterm"));
    // The program behind "env NAME=value".
    const QString byProgram =
        writeUser(QStringLiteral("exec-mapped.desktop"),
                  entryText(QStringLiteral("By Program"), QStringLiteral("/usr/bin/env LANG=C ") + program));
    const QString parent = writeUser(QStringLiteral("parent.desktop"),
                                     entryText(QStringLiteral("Parent"), QStringLiteral("parent-app")));
    const QString stray = xtermNamed(QStringLiteral("kestavon-stray"));
    const struct {
        const char* what;
        QString program, wmClass;
        QStringList environment;
        std::optional<QString> name, id, path;
    } cases[] = {
        {"StartupWMClass", "xterm", "KestavonWmClass", {}, "By Class", "wmclass.desktop", byClass},
        {"an id named like the class",
         "xterm",
         "Org.kestavon.idprobe",
         {},
         "Id Probe",
         "org.kestavon.IdProbe.desktop",
         byId},
        {"the program, a shown entry first",
         program,
         "Unrelated",
         {},
         "By Program",
         "exec-mapped.desktop",
         byProgram},
        {"nothing: the class alone", stray, "KestavonStray", {}, "KestavonStray", std::nullopt, std::nullopt},
        {"nothing: a launch environment inherited from another process does not count",
         stray,
         "KestavonChild",
         {"GIO_LAUNCHED_DESKTOP_FILE=" + parent, "GIO_LAUNCHED_DESKTOP_FILE_PID=1"},
         "KestavonChild",
         std::nullopt,
         std::nullopt},
    };
    for (const auto& c : cases) {
        const pid_t pid = spawn({c.program, QStringLiteral("-class"), c.wmClass}, c.environment);
        waitForWindowOf(pid);
        EXPECT_EQ(running(pid), (RunningApplication{pid, c.name, c.id, c.path})) << c.what;
    }
}

TEST_F(Mapping, AProcessWithoutAWindowIsNoRunningApplication) {
    const pid_t windowless = spawn({QStringLiteral("sleep"), QStringLiteral("600")});
    for (const pid_t pid : {windowless, ::getpid(), 0x3fffffff})
        EXPECT_EQ(workspace->runningApplication(pid), std::nullopt) << pid;
    EXPECT_FALSE(workspace->activate(windowless));
    EXPECT_FALSE(running(windowless));
}

TEST_F(Mapping, AnswersFollowWindowsComingAndGoingEvenOddOnes) {
    // The workspace keeps what it read while the client list stays the same.
    const std::int32_t first = 0x3ffffff0, second = 0x3ffffff1; // no such processes
    TestWindowProperties props;
    props.pid = first;
    props.wmClass = QByteArray("first\0KestavonFirst\0", 20);
    const xcb_window_t firstWindow = windows->create(props);
    ASSERT_TRUE(workspace->runningApplication(first));
    EXPECT_FALSE(workspace->runningApplication(second));

    props.pid = second;
    props.wmClass = QByteArray("no-terminator");
    windows->create(props);
    props.wmClass = QByteArray("\xff\xfe\0\0", 4);
    windows->create(props);
    props.pid = 0;
    windows->create(props);
    windows->destroy(firstWindow);
    EXPECT_FALSE(workspace->runningApplication(first));
    EXPECT_FALSE(running(first));
    const auto odd = workspace->runningApplication(second);
    ASSERT_TRUE(odd);
    EXPECT_EQ(odd->bundleIdentifier, std::nullopt);
    EXPECT_TRUE(running(second));
    EXPECT_EQ(workspace->runningApplication(0), std::nullopt);
}

// Running applications and launching against Xvfb with openbox, driven by real xterm
// processes and desktop entries written by each test.
#include "WorkspaceFixture.h"

#include <unistd.h>

using Launching = WorkspaceFixture;
using Mapping = WorkspaceFixture;

TEST_F(Launching, OpensTheEntryKnowsItsWindowAndOpeningItAgainOnlyActivatesIt) {
    // Same program, sorted first: were the launch environment not read, this would be chosen.
    writeUser("a-decoy.desktop", entryText("Decoy", "xterm"));
    const QString path =
        writeUser("launch-probe.desktop", entryText("Launch Probe", "xterm -class KestavonProbe -T probe"));

    QString error;
    const auto opened = open(path, &error);
    ASSERT_TRUE(opened) << error.toStdString();
    EXPECT_TRUE(error.isEmpty());
    const pid_t pid = opened->processIdentifier;
    EXPECT_EQ(*opened, (RunningApplication{pid, "Launch Probe", "launch-probe.desktop", path}));
    const xcb_window_t window = waitForWindowOf(pid);
    EXPECT_EQ(running(pid), opened);
    EXPECT_EQ(workspace->runningApplication(pid), opened);

    // Another program in front (xterm under another name, so it is not taken for this entry).
    const pid_t other = spawn({xtermNamed("kestavon-other"), "-class", "KestavonOther"});
    ASSERT_TRUE(windows->activate(waitForWindowOf(other)));
    const auto again = open(path);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->processIdentifier, pid) << "a second copy started";
    EXPECT_TRUE(windows->waitUntil([&] { return windows->activeWindow() == window; }));
}

TEST_F(Mapping, AProcessIsToldByItsClassEntryIdOrProgramAndElseByItsClassAlone) {
    const QString program = xtermNamed("kestavon-term");
    // Entries of the same programs, sorted first: chosen were the surer ways not taken first,
    // or were helpers and deleted entries not passed over.
    writeUser("a-decoy.desktop", entryText("Decoy", "xterm"));
    writeUser("a-helper.desktop", entryText("Helper", program + " -x", {"NoDisplay=true"}));
    writeUser("a-deleted.desktop", entryText("Deleted", program, {"Hidden=true"}));
    const QString byClass =
        writeUser("wmclass.desktop", entryText("By Class", "xterm", {"StartupWMClass=KestavonWmClass"}));
    // The user's entry stands in for the system's of the same id.
    write(systemFolder, "org.kestavon.IdProbe.desktop", entryText("System Probe", "xterm"));
    const QString byId = writeUser("org.kestavon.IdProbe.desktop", entryText("Id Probe", "xterm"));
    // The program behind "env NAME=value".
    const QString byProgram =
        writeUser("exec-mapped.desktop", entryText("By Program", "/usr/bin/env LANG=C " + program));
    const QString parent = writeUser("parent.desktop", entryText("Parent", "parent-app"));
    const QString stray = xtermNamed("kestavon-stray");
    const struct {
        const char* what;
        QString program, wmClass;
        QStringList environment;
        std::optional<QString> name, id, path;
    } cases[] = {
        {"StartupWMClass", "xterm", "KestavonWmClass", {}, "By Class", "wmclass.desktop", byClass},
        {"id like class", "xterm", "Org.kestavon.idprobe", {}, "Id Probe", byId.section('/', -1), byId},
        {"the program", program, "Unrelated", {}, "By Program", "exec-mapped.desktop", byProgram},
        {"nothing: the class alone", stray, "KestavonStray", {}, "KestavonStray", {}, {}},
        {"nothing: an inherited launch environment does not count",
         stray,
         "KestavonChild",
         {"GIO_LAUNCHED_DESKTOP_FILE=" + parent, "GIO_LAUNCHED_DESKTOP_FILE_PID=1"},
         "KestavonChild",
         {},
         {}},
    };
    for (const auto& c : cases) {
        const pid_t pid = spawn({c.program, "-class", c.wmClass}, c.environment);
        waitForWindowOf(pid);
        EXPECT_EQ(running(pid), (RunningApplication{pid, c.name, c.id, c.path})) << c.what;
    }
}

TEST_F(Mapping, AProcessWithoutAWindowIsNoRunningApplication) {
    const pid_t windowless = spawn({"sleep", "600"});
    for (const pid_t pid : {windowless, ::getpid(), 0x3fffffff})
        EXPECT_EQ(workspace->runningApplication(pid), std::nullopt) << pid;
    EXPECT_FALSE(workspace->activate(windowless));
    EXPECT_FALSE(running(windowless));
}

TEST_F(Mapping, AnswersFollowWindowsComingAndGoingEvenOddOnes) {
    // The workspace keeps what it read while the client list stays the same.
    const std::int32_t first = 0x3ffffff0, second = 0x3ffffff1; // no such processes
    const xcb_window_t firstWindow =
        windows->create({.pid = first, .wmClass = QByteArray("first\0First\0", 12)});
    ASSERT_TRUE(workspace->runningApplication(first));
    EXPECT_FALSE(workspace->runningApplication(second));

    for (const QByteArray& wmClass : {QByteArray("no-terminator"), QByteArray("\xff\xfe\0\0", 4)})
        windows->create({.pid = second, .wmClass = wmClass});
    windows->create({.pid = 0});
    windows->destroy(firstWindow);
    EXPECT_FALSE(workspace->runningApplication(first));
    EXPECT_FALSE(running(first));
    const auto odd = workspace->runningApplication(second);
    ASSERT_TRUE(odd);
    EXPECT_EQ(odd->bundleIdentifier, std::nullopt);
    EXPECT_TRUE(running(second));
    EXPECT_EQ(workspace->runningApplication(0), std::nullopt);
}

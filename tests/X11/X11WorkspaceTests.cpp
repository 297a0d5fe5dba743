// Desktop entries as installed applications, running applications and launching against Xvfb
// with openbox, driven by real xterm processes and desktop entries written by each test.
#include "Platform/Linux/DesktopEntryBundles.h"
#include "Platform/Linux/ProcessInfo.h"
#include "WorkspaceFixture.h"

#include <sys/stat.h>
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

TEST_F(Mapping, AProcessWithoutAWindowIsNoRunningApplicationAndOddWindowsGiveEmptierAnswers) {
    const pid_t windowless = spawn({"sleep", "600"});
    for (const pid_t pid : {windowless, ::getpid(), 0x3fffffff, 0})
        EXPECT_EQ(workspace->runningApplication(pid), std::nullopt) << pid;
    EXPECT_FALSE(workspace->activate(windowless));
    EXPECT_FALSE(running(windowless));

    // Asked again once the client list has changed.
    const std::int32_t self = ::getpid(); // of no entry here
    for (const QByteArray& wmClass : {QByteArray("no-terminator"), QByteArray("\xff\xfe\0\0", 4)})
        windows->create({.pid = self, .wmClass = wmClass});
    const std::int32_t none = 0x3ffffffe; // no such process
    for (const std::int32_t pid : {0, none})
        windows->create({.pid = pid});
    const auto application = workspace->runningApplication(self);
    ASSERT_TRUE(application);
    EXPECT_EQ(application->bundleIdentifier, std::nullopt);
    for (const std::int32_t pid : {0, none})
        EXPECT_EQ(workspace->runningApplication(pid), std::nullopt) << pid;
}

TEST_F(Mapping, AWindowIsOfTheProcessTheServerSeesWhateverItClaimsAndAnotherUsersIsNoApplication) {
    writeUser("mark.desktop", entryText("Mark", "xterm -class Mark", {"StartupWMClass=Mark"}));
    const QByteArray mark("mark\0Mark\0", 10);
    // Our own client's windows, one naming a kernel thread (as a sandboxed program's does), one
    // init on another machine.
    const xcb_window_t sandboxed = windows->create({.pid = 2, .wmClass = mark});
    const xcb_window_t remote =
        windows->create({.pid = 1, .wmClass = mark, .clientMachine = "elsewhere.invalid"});
    // Another user's client of this display: Mark's program run as nobody, when we may start it so.
    std::int32_t other = 0;
    xcb_window_t foreign = XCB_NONE;
    if (::getuid() == 0) {
        other =
            spawn({"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "xterm", "-class", "Mark"});
        foreign = waitForWindowOf(other);
    }

    const std::int32_t self = ::getpid();
    EXPECT_EQ(running(self).value_or(RunningApplication{}).bundleIdentifier, "mark.desktop");
    for (const std::int32_t pid : {1, 2, other})
        EXPECT_EQ(workspace->runningApplication(pid), std::nullopt) << pid;
    const auto shown = listed({foreign, sandboxed, remote});
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_TRUE(shown[0].pid == self && shown[1].pid == self);
}

using DesktopEntries = WorkspaceFixture;

TEST_F(DesktopEntries, AnEntrySaysItsIdNamesAndWhetherItIsAnAgentAndAnythingElseIsNone) {
    const QString shown =
        write(systemFolder, "gnome/editor.desktop",
              entryText("Editor", "editor %F", {"Icon=/opt/editor/icon.png", "Name[de]=Bearbeiter"}));
    const QString noDisplay = writeUser("helper.desktop", entryText("Helper", "helper", {"NoDisplay=true"}));
    const QString hidden = writeUser("gone.desktop", entryText("Gone", "gone", {"Hidden=true"}));
    const QString malformed = writeUser("bad.desktop", "[Desktop Entry]\nName=\n");
    const QString notInstalled =
        writeUser("absent.desktop", entryText("Absent", "absent", {"TryExec=kestavon-not-here"}));
    // Neither may block a reader: a FIFO, and a link that loops.
    const QString fifo = userFolder + "/fifo.desktop";
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString loop = userFolder + "/loop.desktop";
    QFile::link(loop, loop);

    DesktopEntryBundles bundles;
    qputenv("LANGUAGE", "de_DE");
    const auto german = bundles.bundleInfo(shown);
    qputenv("LANGUAGE", "fr");
    const auto french = bundles.bundleInfo(shown);
    qunsetenv("LANGUAGE");
    EXPECT_EQ(german, (BundleInfo{"gnome-editor.desktop", {"Bearbeiter", "Editor"}, false}));
    EXPECT_EQ(french, (BundleInfo{"gnome-editor.desktop", {"Editor"}, false}));
    EXPECT_EQ(bundles.iconName(shown), "/opt/editor/icon.png");
    EXPECT_EQ(bundles.bundleInfo(noDisplay), (BundleInfo{"helper.desktop", {"Helper"}, true}));
    EXPECT_TRUE(bundles.bundleInfo(hidden)->agentOnly);

    for (const QString& none : {malformed, notInstalled, fifo, loop, userFolder})
        EXPECT_EQ(bundles.bundleInfo(none), std::nullopt) << none.toStdString();
    EXPECT_EQ(bundles.iconName(malformed), QString());
    EXPECT_EQ(bundles.contentsOfDirectory(userFolder + "/missing"), std::nullopt);
}

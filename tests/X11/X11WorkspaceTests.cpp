// Running applications, activation and launching against Xvfb with openbox, driven by real
// xterm processes and desktop entries written by each test.
#include "WorkspaceFixture.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <csignal>
#include <unistd.h>

namespace {

// Our children whose program is xterm: a second launch would show here.
int xtermChildren() {
    int count = 0;
    for (const QFileInfo& process :
         QDir(QStringLiteral("/proc")).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QByteArray stat = TestSupport::readAll(process.filePath() + QStringLiteral("/stat"));
        const qsizetype close = stat.lastIndexOf(')');
        if (close < 0 || !stat.contains("(xterm)")) continue;
        if (stat.mid(close + 4).split(' ').value(0).toInt() == ::getpid()) ++count;
    }
    return count;
}

} // namespace

using Launching = WorkspaceFixture;
using Mapping = WorkspaceFixture;
using Activation = WorkspaceFixture;
using OpeningURLs = WorkspaceFixture;

TEST_F(Launching, OpensTheEntryKnowsItsWindowAndOpeningItAgainOnlyActivatesIt) {
    // Same program, sorted first: were the launch environment not read, this would be chosen.
    folders->writeUser(QStringLiteral("a-decoy.desktop"),
                       entryText(QStringLiteral("Decoy"), QStringLiteral("xterm")));
    const QString path = folders->writeUser(
        QStringLiteral("launch-probe.desktop"),
        entryText(QStringLiteral("Launch Probe"), QStringLiteral("xterm -class KestavonProbe -T probe")));

    QString error;
    const auto opened = open(path, &error);
    ASSERT_TRUE(opened) << error.toStdString();
    EXPECT_TRUE(error.isEmpty());
    EXPECT_GT(opened->processIdentifier, 0);
    EXPECT_EQ(*opened, (RunningApplication{opened->processIdentifier, QStringLiteral("Launch Probe"),
                                           QStringLiteral("launch-probe.desktop"), path}));
    const xcb_window_t window = waitForWindowOf(opened->processIdentifier);
    EXPECT_EQ(listed(opened->processIdentifier), opened);
    EXPECT_EQ(workspace->runningApplication(opened->processIdentifier), opened);

    // Another program in front (xterm under another name, so it is not taken for this entry).
    const pid_t other =
        spawnWithClass(QStringLiteral("KestavonOther"), xtermNamed(QStringLiteral("kestavon-other")));
    ASSERT_TRUE(waitUntilActive(waitForWindowOf(other)));
    const int before = xtermChildren();
    const auto again = open(path);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->processIdentifier, opened->processIdentifier);
    EXPECT_EQ(xtermChildren(), before) << "a second copy started";
    EXPECT_TRUE(waitUntilActive(window));
}
TEST_F(Launching, AmongSeveralRunningCopiesTheOneUsedLastIsActivated) {
    const QString path =
        folders->writeUser(QStringLiteral("twice.desktop"),
                           entryText(QStringLiteral("Twice"), QStringLiteral("xterm -class KestavonTwice")));
    const auto first = open(path);
    ASSERT_TRUE(first);
    const xcb_window_t firstWindow = waitForWindowOf(first->processIdentifier);
    OpenConfiguration another;
    another.createsNewApplicationInstance = true;
    const auto second = open(path, nullptr, another);
    ASSERT_TRUE(second);
    ASSERT_NE(second->processIdentifier, first->processIdentifier);
    const xcb_window_t secondWindow = waitForWindowOf(second->processIdentifier);

    for (const auto& [pid, window] : {std::pair{first->processIdentifier, firstWindow},
                                      std::pair{second->processIdentifier, secondWindow}}) {
        runTool(QStringLiteral("wmctrl"), {QStringLiteral("-i"), QStringLiteral("-a"), hexId(window)});
        ASSERT_TRUE(windows->waitUntil([&] {
            return activeWindow() == window && windows->topMostOf({firstWindow, secondWindow}) == window;
        }));
        EXPECT_EQ(open(path)->processIdentifier, pid);
    }
}

TEST_F(Launching, TerminalEntriesRunInATerminalWindow) {
    // cat, unlike sleep, also ends by itself when its terminal goes away.
    const QString path = folders->writeUser(QStringLiteral("in-terminal.desktop"),
                                            entryText(QStringLiteral("In Terminal"), QStringLiteral("cat -u"),
                                                      {QStringLiteral("Terminal=true")}));
    QString error;
    const auto opened = open(path, &error);
    if (!opened && error.contains(QStringLiteral("terminal"))) GTEST_SKIP() << error.toStdString();
    ASSERT_TRUE(opened) << error.toStdString();
    const pid_t terminal = opened->processIdentifier;
    waitForWindowOf(terminal);
    const QStringList arguments = commandLine(terminal);
    EXPECT_NE(arguments.value(0), QStringLiteral("cat"));
    EXPECT_EQ(arguments.mid(arguments.size() - 2),
              (QStringList{QStringLiteral("cat"), QStringLiteral("-u")}));
    EXPECT_EQ(listed(terminal)->bundleIdentifier, QStringLiteral("in-terminal.desktop"));

    const QByteArray children =
        TestSupport::readAll(QStringLiteral("/proc/%1/task/%1/children").arg(terminal));
    for (const QByteArray& child : children.split(' '))
        if (child.toInt() > 0) ::kill(child.toInt(), SIGTERM);
}

TEST_F(Mapping, AProcessIsToldByItsClassEntryIdOrProgramAndElseByItsClassAlone) {
    const QString program = xtermNamed(QStringLiteral("kestavon-term"));
    // Same program, sorted first: chosen were the surer ways not taken first.
    folders->writeUser(QStringLiteral("a-decoy.desktop"),
                       entryText(QStringLiteral("Decoy"), QStringLiteral("xterm")));
    const QString byClass = folders->writeUser(QStringLiteral("wmclass.desktop"),
                                               entryText(QStringLiteral("By Class"), QStringLiteral("xterm"),
                                                         {QStringLiteral("StartupWMClass=KestavonWmClass")}));
    const QString byId = folders->write(folders->system, QStringLiteral("org.kestavon.IdProbe.desktop"),
                                        entryText(QStringLiteral("Id Probe"), QStringLiteral("xterm")));
    folders->writeUser(QStringLiteral("a-helper.desktop"),
                       entryText(QStringLiteral("Helper"), program + QStringLiteral(" --helper"),
                                 {QStringLiteral("NoDisplay=true")}));
    const QString byProgram =
        folders->writeUser(QStringLiteral("exec-mapped.desktop"),
                           entryText(QStringLiteral("By Program"), program + QStringLiteral(" -T x")));
    const QString parent = folders->writeUser(
        QStringLiteral("parent.desktop"), entryText(QStringLiteral("Parent"), QStringLiteral("parent-app")));
    const QString stray = xtermNamed(QStringLiteral("kestavon-stray"));
    const struct {
        const char* what;
        QString program, wmClass;
        QStringList environment;
        std::optional<QString> name, id, path;
    } cases[] = {
        {"StartupWMClass",
         QStringLiteral("xterm"),
         QStringLiteral("KestavonWmClass"),
         {},
         QStringLiteral("By Class"),
         QStringLiteral("wmclass.desktop"),
         byClass},
        {"an id named like the class",
         QStringLiteral("xterm"),
         QStringLiteral("Org.kestavon.idprobe"),
         {},
         QStringLiteral("Id Probe"),
         QStringLiteral("org.kestavon.IdProbe.desktop"),
         byId},
        {"the program, a shown entry first",
         program,
         QStringLiteral("Unrelated"),
         {},
         QStringLiteral("By Program"),
         QStringLiteral("exec-mapped.desktop"),
         byProgram},
        {"nothing: the class alone",
         stray,
         QStringLiteral("KestavonStray"),
         {},
         QStringLiteral("KestavonStray"),
         std::nullopt,
         std::nullopt},
        {"nothing: a launch environment inherited from another process does not count",
         stray,
         QStringLiteral("KestavonChild"),
         {QStringLiteral("GIO_LAUNCHED_DESKTOP_FILE=") + parent,
          QStringLiteral("GIO_LAUNCHED_DESKTOP_FILE_PID=1")},
         QStringLiteral("KestavonChild"),
         std::nullopt,
         std::nullopt},
    };
    for (const auto& c : cases) {
        const pid_t pid = spawn({c.program, QStringLiteral("-class"), c.wmClass}, c.environment);
        waitForWindowOf(pid);
        EXPECT_EQ(listed(pid), (RunningApplication{pid, c.name, c.id, c.path})) << c.what;
    }
}

TEST_F(Mapping, AProcessWithoutAWindowIsNoRunningApplication) {
    const pid_t windowless = spawn({QStringLiteral("sleep"), QStringLiteral("600")});
    EXPECT_EQ(workspace->runningApplication(windowless), std::nullopt);
    EXPECT_EQ(workspace->runningApplication(::getpid()), std::nullopt);
    EXPECT_EQ(workspace->runningApplication(0x3fffffff), std::nullopt);
    EXPECT_FALSE(workspace->activate(windowless));
    EXPECT_FALSE(listed(windowless));
}

TEST_F(Mapping, OddWindowsGiveEmptierAnswers) {
    const std::int32_t ended = 0x3ffffffe; // no such process
    TestWindowProperties props;
    props.pid = ended;
    props.wmClass = QByteArray("no-terminator");
    windows->create(props);
    props.wmClass = QByteArray("\xff\xfe\0\0", 4);
    windows->create(props);
    props.pid = 0;
    windows->create(props);

    const auto application = workspace->runningApplication(ended);
    ASSERT_TRUE(application);
    EXPECT_EQ(application->bundleIdentifier, std::nullopt);
    EXPECT_EQ(workspace->runningApplication(0), std::nullopt);
    EXPECT_TRUE(listed(ended));
}

TEST_F(Mapping, AnswersFollowWindowsComingAndGoingBetweenQuestions) {
    // The workspace keeps what it read while the client list stays the same.
    const std::int32_t first = 0x3ffffff0, second = 0x3ffffff1; // no such processes
    TestWindowProperties props;
    props.pid = first;
    props.wmClass = QByteArray("first\0KestavonFirst\0", 20);
    const xcb_window_t firstWindow = windows->create(props);
    ASSERT_TRUE(workspace->runningApplication(first));
    EXPECT_FALSE(workspace->runningApplication(second));

    props.pid = second;
    props.wmClass = QByteArray("second\0KestavonSecond\0", 22);
    windows->create(props);
    windows->destroy(firstWindow);
    EXPECT_FALSE(workspace->runningApplication(first));
    ASSERT_TRUE(workspace->runningApplication(second));
    EXPECT_EQ(workspace->runningApplication(second)->localizedName, QStringLiteral("KestavonSecond"));
    EXPECT_TRUE(listed(second));
    EXPECT_FALSE(listed(first));
}

TEST_F(Activation, ThePidsWindowOnTheCurrentDesktopIsActivatedAndOneElsewhereOnlyMarked) {
    // Two windows of this test program's pid; the top-most one is on another desktop.
    const std::uint32_t desktop = windows->cardinal(connection->root(), "_NET_CURRENT_DESKTOP").value_or(0);
    TestWindowProperties props;
    props.pid = ::getpid();
    props.wmClass = QByteArray("here\0KestavonHere\0", 18);
    const xcb_window_t here = windows->create(props);
    props.wmClass = QByteArray("away\0KestavonAway\0", 18);
    const xcb_window_t away = windows->create(props);
    const xcb_window_t other = windows->create(TestWindowProperties{});
    runTool(QStringLiteral("wmctrl"), {QStringLiteral("-i"), QStringLiteral("-r"), hexId(away),
                                       QStringLiteral("-t"), QString::number((desktop + 1) % 4)});
    ASSERT_TRUE(
        windows->waitUntil([&] { return windows->cardinal(away, "_NET_WM_DESKTOP") == (desktop + 1) % 4; }));
    runTool(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), QString::number(other)});
    ASSERT_TRUE(waitUntilActive(other));

    EXPECT_TRUE(workspace->activate(::getpid()));
    EXPECT_TRUE(waitUntilActive(here));
    EXPECT_EQ(windows->cardinal(connection->root(), "_NET_CURRENT_DESKTOP"), desktop);
    EXPECT_EQ(workspace->runningApplication(::getpid())->localizedName, QStringLiteral("KestavonHere"));

    // Changing desktops is the switching logic's step, taken before it activates; asked
    // alone, openbox marks the window and leaves the desktop as it is.
    windows->destroy(here);
    runTool(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), QString::number(other)});
    ASSERT_TRUE(waitUntilActive(other));
    EXPECT_TRUE(workspace->activate(::getpid()));
    EXPECT_TRUE(
        windows->waitUntil([&] { return windows->hasState(away, "_NET_WM_STATE_DEMANDS_ATTENTION"); }));
    EXPECT_NE(activeWindow(), away);
    EXPECT_EQ(windows->cardinal(connection->root(), "_NET_CURRENT_DESKTOP"), desktop);
}

TEST_F(OpeningURLs, TheSchemesHandlerOpensIt) {
    folders->writeUser(QStringLiteral("url-handler.desktop"),
                       entryText(QStringLiteral("URL Handler"),
                                 QStringLiteral("xterm -class KestavonURL -T %u"),
                                 {QStringLiteral("MimeType=x-scheme-handler/kestavon-test;")}));
    // What update-desktop-database writes, and where GIO looks the scheme up.
    folders->writeUser(QStringLiteral("mimeinfo.cache"),
                       "[MIME Cache]\nx-scheme-handler/kestavon-test=url-handler.desktop;\n");
    ASSERT_TRUE(workspace->openURL(QStringLiteral("kestavon-test:hello")));
    std::optional<RunningApplication> handler;
    windows->waitUntil(
        [&] {
            for (const RunningApplication& application : workspace->runningApplications())
                if (application.bundleIdentifier == QStringLiteral("url-handler.desktop"))
                    handler = application;
            return handler.has_value();
        },
        20000);
    ASSERT_TRUE(handler);
    const pid_t pid = handler->processIdentifier;
    EXPECT_TRUE(runTool(QStringLiteral("xprop"),
                        {QStringLiteral("-id"), hexId(*windowOf(pid)), QStringLiteral("WM_NAME")})
                    .contains(QStringLiteral("\"kestavon-test:hello\"")));
    // Not our child (GIO started it on its own): end it and wait for its window to go.
    ::kill(pid, SIGTERM);
    EXPECT_TRUE(windows->waitUntil([&] { return !windowOf(pid); }));

    EXPECT_FALSE(workspace->openURL(QStringLiteral("kestavon-nobody-handles-this:x")));
}

// Desktop entries whose Exec holds shell syntax, quoting and field codes, opened through the
// workspace: the program receives exactly the arguments the entry's own rules give, nothing
// ever runs a shell, and an entry that cannot start fails with the reason.
#include "Platform/X11/ChildReaper.h"
#include "Platform/X11/GioLauncher.h"
#include "WorkspaceFixture.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>

namespace {

struct ExecCase {
    const char* what;
    /// The Exec value as written in the file; {R} is the recorder, {M} a file no shell may create.
    QString exec;
    QStringList moreLines;
    /// The arguments after argv[0]; {M} and {P} (the entry's path) filled in.
    QStringList arguments;
};

struct FailingCase {
    const char* what;
    QString exec;
    QStringList moreLines;
    /// Part of the reason given.
    QString reason;
};

class ExecArgv : public WorkspaceFixture {
protected:
    void SetUp() override {
        WorkspaceFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        scratch = TestSupport::freshFolder();
        recorder = copyRecorder(scratch + QStringLiteral("/bin/rec"));
        marker = scratch + QStringLiteral("/shell-ran");
    }

    static QString copyRecorder(const QString& to) {
        QDir().mkpath(QFileInfo(to).path());
        EXPECT_TRUE(QFile::copy(QStringLiteral(KESTAVON_ARGV_RECORDER), to));
        QFile::setPermissions(to, QFile::ReadOwner | QFile::ExeOwner);
        return to;
    }

    QString filled(QString text, const QString& entryPath = {}) const {
        return text.replace(QStringLiteral("{R}"), recorder)
            .replace(QStringLiteral("{M}"), marker)
            .replace(QStringLiteral("{P}"), entryPath);
    }

    /// Opens the entry and returns the arguments its program was started with, argv[0] first.
    std::optional<QStringList> argvOf(const QString& entryPath) {
        const QString out = scratch + QStringLiteral("/argv-%1").arg(++runs_);
        qputenv("KESTAVON_ARGV_FILE", QFile::encodeName(out));
        // Started directly: the recorder shows no window, so the workspace would not call
        // its launch a success.
        const auto entry = DesktopEntry::read(entryPath, QFileInfo(entryPath).fileName());
        EXPECT_TRUE(entry);
        if (!entry) return std::nullopt;
        const GioLauncher::Launched started = GioLauncher::launch(*entry);
        qunsetenv("KESTAVON_ARGV_FILE");
        EXPECT_FALSE(started.error) << started.error.value_or(QString()).toStdString();
        const pid_t pid = started.pid;
        EXPECT_GT(pid, 0);
        EXPECT_TRUE(ChildReaper::waitUntilReaped(pid, 10000)) << "the recorder did not end";
        if (!QFile::exists(out)) return std::nullopt;
        QByteArray bytes = TestSupport::readAll(out);
        EXPECT_TRUE(bytes.endsWith('\0'));
        bytes.chop(1);
        QStringList argv;
        for (const QByteArray& argument : bytes.split('\0'))
            argv.append(QString::fromUtf8(argument));
        return argv;
    }

    QString scratch;
    QString recorder;
    QString marker;

private:
    int runs_ = 0;
};

} // namespace

TEST_F(ExecArgv, EachArgumentArrivesExactlyAndNoShellRuns) {
    const QString evilName = QStringLiteral("Probe \"quoted\"; $(touch {M}) `id` & echo");
    const std::vector<ExecCase> cases{
        {"command separators are plain words", "{R} ; touch {M}", {}, {";", "touch", "{M}"}},
        {"pipes, lists and redirections are plain words",
         "{R} a|b && touch {M} >{M}.out 2>&1 <{M}",
         {},
         {"a|b", "&&", "touch", "{M}", ">{M}.out", "2>&1", "<{M}"}},
        {"substitutions and variables are not expanded",
         "{R} $(touch {M}) `touch {M}` ${HOME} $HOME",
         {},
         {"$(touch", "{M})", "`touch", "{M}`", "${HOME}", "$HOME"}},
        {"globs and tildes are not expanded",
         "{R} * *.desktop ? [ab] ~ ~/x",
         {},
         {"*", "*.desktop", "?", "[ab]", "~", "~/x"}},
        {"quoted arguments keep spaces, escaped quotes, backslashes, dollars and backquotes",
         R"({R} "two  words" "say \\"hi\\"" "back\\\\slash" "\\$HOME \\`touch {M}\\`" "")",
         {},
         {"two  words", "say \"hi\"", "back\\slash", "$HOME `touch {M}`", ""}},
        {"file and URL codes go when there is nothing to open",
         "{R} before %f %u %F %U after",
         {},
         {"before", "after"}},
        {"the name is one argument, whatever it holds", "{R} %c", {"Name=" + evilName}, {evilName}},
        {"the entry's own path is one argument", "{R} %k", {}, {"{P}"}},
        {"the icon comes with its option", "{R} %i", {"Icon=my icon"}, {"--icon", "my icon"}},
        {"no icon, no option", "{R} %i", {}, {}},
        {"a doubled percent is one", "{R} 100%% %%c", {}, {"100%", "%c"}},
        {"deprecated codes go", "{R} %d %D %n %N %v %m", {}, {}},
    };
    for (const ExecCase& c : cases) {
        SCOPED_TRACE(c.what);
        QString name = QStringLiteral("Exec Probe");
        QStringList lines;
        for (const QString& line : c.moreLines) {
            if (line.startsWith(QStringLiteral("Name=")))
                name = filled(line.mid(5));
            else
                lines.append(filled(line));
        }
        // A file name that needs quoting wherever it is passed on.
        const QString path = folders->writeUser(QStringLiteral("it's a $(probe).desktop"),
                                                entryText(name, filled(c.exec), lines));
        QStringList expected{recorder};
        for (const QString& argument : c.arguments)
            expected.append(filled(argument, path));
        EXPECT_EQ(argvOf(path), expected);
        QFile::remove(path);
    }

    // A program whose path needs quoting.
    const QString spaced = copyRecorder(scratch + QStringLiteral("/with space/rec"));
    const QString path =
        folders->writeUser(QStringLiteral("spaced.desktop"),
                           entryText(QStringLiteral("Spaced"), QStringLiteral("\"%1\" a").arg(spaced)));
    EXPECT_EQ(argvOf(path), (QStringList{spaced, QStringLiteral("a")}));

    EXPECT_FALSE(QFile::exists(marker)) << "a shell ran";
    EXPECT_FALSE(QFile::exists(marker + QStringLiteral(".out"))) << "a shell redirected";
}

TEST_F(ExecArgv, AnEntryWhoseProgramCannotRunFailsWithTheReason) {
    const QString notExecutable = scratch + QStringLiteral("/not-executable");
    TestSupport::writeAll(notExecutable, "#!/bin/sh\ntouch " + marker.toUtf8() + "\n");
    const std::vector<FailingCase> cases{
        {"missing program path",
         "/nonexistent/kestavon-missing --flag",
         {},
         "“/nonexistent/kestavon-missing”"},
        {"missing program with shell syntax",
         "kestavon-no-such-program; touch {M}",
         {},
         "kestavon-no-such-program"},
        {"file that is not executable", notExecutable, {}, notExecutable},
        {"missing TryExec",
         "{R}",
         {"TryExec=/nonexistent/kestavon-tryexec"},
         "/nonexistent/kestavon-tryexec"},
        {"unbalanced quote", "{R} \"open", {}, "not valid"},
        // GIO's own words when the start itself fails.
        {"missing working folder", "{R}", {"Path=/nonexistent/kestavon"}, "/nonexistent/kestavon"},
    };
    const QString out = scratch + QStringLiteral("/argv-failing");
    qputenv("KESTAVON_ARGV_FILE", QFile::encodeName(out));
    for (const FailingCase& c : cases) {
        SCOPED_TRACE(c.what);
        QStringList lines = c.moreLines;
        for (QString& line : lines)
            line = filled(line);
        const QString path = folders->writeUser(QStringLiteral("failing.desktop"),
                                                entryText(QStringLiteral("Failing"), filled(c.exec), lines));
        QString error;
        const auto opened = open(path, &error);
        EXPECT_FALSE(opened) << "reported as started, pid " << opened->processIdentifier;
        EXPECT_TRUE(error.contains(c.reason)) << error.toStdString();
    }
    qunsetenv("KESTAVON_ARGV_FILE");
    for (const QString& notAnEntry :
         {folders->user + QStringLiteral("/nothing-here.desktop"),
          folders->writeUser(QStringLiteral("malformed.desktop"), "[Desktop Entry]\nExec=x\n")}) {
        QString error;
        EXPECT_EQ(open(notAnEntry, &error), std::nullopt);
        EXPECT_FALSE(error.isEmpty()) << notAnEntry.toStdString();
    }
    EXPECT_FALSE(QFile::exists(out)) << "a failing entry started the recorder";
    EXPECT_FALSE(QFile::exists(marker)) << "a shell ran";
}

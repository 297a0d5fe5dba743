// Desktop entries whose Exec holds shell syntax, quoting and field codes, opened through the
// workspace: the program receives exactly the arguments the entry's own rules give, nothing
// ever runs a shell, and an entry that cannot start fails with the reason. The other field codes
// are GIO's own business.
#include "Platform/Linux/ChildReaper.h"
#include "Platform/Linux/DesktopEntry.h"
#include "Platform/Linux/GioLauncher.h"
#include "WorkspaceFixture.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

class ExecArgv : public WorkspaceFixture {
protected:
    void SetUp() override {
        WorkspaceFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        scratch = TestSupport::freshFolder();
        marker = scratch + QStringLiteral("/shell-ran");
        qputenv("KESTAVON_ARGV_FILE", QFile::encodeName(scratch + QStringLiteral("/argv")));
    }

    /// {R} is the recorder, {M} a file no shell may create, {P} the entry's path.
    QString filled(QString text, const QString& entryPath = {}) const {
        return text.replace(QStringLiteral("{R}"), recorder)
            .replace(QStringLiteral("{M}"), marker)
            .replace(QStringLiteral("{P}"), entryPath);
    }

    /// Opens the entry and returns the arguments its program was started with, argv[0] first.
    std::optional<QStringList> argvOf(const QString& entryPath) {
        const QString out = qEnvironmentVariable("KESTAVON_ARGV_FILE");
        QFile::remove(out);
        // Started directly: the recorder shows no window, so the workspace would not call its
        // launch a success.
        const auto entry = DesktopEntry::read(entryPath, QFileInfo(entryPath).fileName());
        EXPECT_TRUE(entry);
        if (!entry) return std::nullopt;
        const GioLauncher::Launched started = GioLauncher::launch(*entry);
        EXPECT_FALSE(started.error) << started.error.value_or(QString()).toStdString();
        EXPECT_TRUE(ChildReaper::waitUntilReaped(started.pid, 10000)) << "the recorder did not end";
        const QString argv = QString::fromUtf8(TestSupport::readAll(out));
        if (!argv.endsWith(QChar(0))) return std::nullopt;
        return argv.chopped(1).split(QChar(0));
    }

    QString scratch;
    const QString recorder = QStringLiteral(KESTAVON_ARGV_RECORDER);
    QString marker;
};

} // namespace

TEST_F(ExecArgv, EachArgumentArrivesExactlyAndNoShellRuns) {
    // The name of every entry here.
    const QString evilName = QStringLiteral("Probe \"quoted\"; $(touch {M}) `id` & echo");
    const struct {
        const char* what;
        QString exec;
        /// The arguments after argv[0].
        QStringList arguments;
    } cases[] = {
        {"separators, pipes, redirections, substitutions, variables, globs and tildes are plain words",
         "{R} ; touch {M} a|b && >{M}.out 2>&1 <{M} $(touch {M}) `touch {M}` ${HOME} $HOME * [ab] ~/x",
         {";", "touch", "{M}", "a|b", "&&", ">{M}.out", "2>&1", "<{M}", "$(touch", "{M})", "`touch", "{M}`",
          "${HOME}", "$HOME", "*", "[ab]", "~/x"}},
        {"quoted arguments keep spaces, escaped quotes, backslashes, dollars and backquotes",
         R"({R} "two  words" "say \\"hi\\"" "back\\\\slash" "\\$HOME \\`touch {M}\\`" "")",
         {"two  words", "say \"hi\"", "back\\slash", "$HOME `touch {M}`", ""}},
        {"the name is one argument, whatever it holds", "{R} %c", {evilName}},
        {"the entry's own path is one argument", "{R} %k", {"{P}"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        // A file name that needs quoting wherever it is passed on.
        const QString path = writeUser(QStringLiteral("it's a $(probe).desktop"),
                                       entryText(filled(evilName), filled(c.exec)));
        QStringList expected{recorder};
        for (const QString& argument : c.arguments)
            expected.append(filled(argument, path));
        EXPECT_EQ(argvOf(path), expected);
    }

    // A program whose path needs quoting.
    const QString spaced = scratch + QStringLiteral("/with space/rec");
    QDir().mkpath(QFileInfo(spaced).path());
    ASSERT_TRUE(QFile::copy(recorder, spaced));
    const QString path = writeUser(QStringLiteral("spaced.desktop"),
                                   entryText("Spaced", QStringLiteral("\"%1\" a").arg(spaced)));
    EXPECT_EQ(argvOf(path), (QStringList{spaced, QStringLiteral("a")}));

    EXPECT_FALSE(QFile::exists(marker)) << "a shell ran";
    EXPECT_FALSE(QFile::exists(marker + QStringLiteral(".out"))) << "a shell redirected";
}

TEST_F(ExecArgv, AnEntryWhoseProgramCannotRunFailsWithTheReason) {
    const QString notExecutable = scratch + QStringLiteral("/not-executable");
    TestSupport::writeAll(notExecutable, "#!/bin/sh\ntouch " + marker.toUtf8() + "\n");
    const struct {
        const char* what;
        QString exec;
        QString moreLine;
        /// Part of the reason given.
        QString reason;
    } cases[] = {
        {"missing program with shell syntax",
         "kestavon-no-such-program; touch {M}",
         {},
         "kestavon-no-such-program"},
        {"file that is not executable", notExecutable, {}, notExecutable},
        {"missing TryExec", "{R}", "TryExec=/nonexistent/kestavon-tryexec", "/nonexistent/kestavon-tryexec"},
        {"unbalanced quote", "{R} \"open", {}, "not valid"},
        // GIO's own words when the start itself fails.
        {"missing working folder", "{R}", "Path=/nonexistent/kestavon", "/nonexistent/kestavon"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QString path =
            writeUser(QStringLiteral("failing.desktop"), entryText("Failing", filled(c.exec), {c.moreLine}));
        QString error;
        const auto opened = open(path, &error);
        EXPECT_FALSE(opened) << "reported as started, pid " << opened->processIdentifier;
        EXPECT_TRUE(error.contains(c.reason)) << error.toStdString();
    }
    EXPECT_FALSE(QFile::exists(qEnvironmentVariable("KESTAVON_ARGV_FILE")))
        << "a failing entry started the recorder";
    EXPECT_FALSE(QFile::exists(marker)) << "a shell ran";
}

#include "PrivateMounts.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <sys/mount.h>

namespace PrivateMounts {
namespace {

const char* const insideVariable = "KESTAVON_TEST_PRIVATE_MOUNTS";

// The unshare(1) options that give this process a private mount namespace: as root, else as a
// user namespace's root; empty when neither works here.
const QStringList& unshareOptions() {
    static const QStringList options = [] {
        for (const QStringList& candidate : {QStringList{"--mount", "--propagation", "private"},
                                             QStringList{"--user", "--map-root-user", "--mount"}}) {
            QProcess probe;
            probe.start(QStringLiteral("unshare"), candidate + QStringList{QStringLiteral("true")});
            if (probe.waitForFinished(10000) && probe.exitStatus() == QProcess::NormalExit &&
                probe.exitCode() == 0)
                return candidate;
        }
        return QStringList{};
    }();
    return options;
}

bool succeeded(int result, const char* what, const QString& folder) {
    if (result != 0) ADD_FAILURE() << what << ' ' << folder.toStdString() << ": " << std::strerror(errno);
    return result == 0;
}

} // namespace

bool inside() {
    return qEnvironmentVariableIsSet(insideVariable);
}

void runCurrentTestInside() {
    const QStringList& options = unshareOptions();
    if (options.isEmpty())
        GTEST_SKIP() << "no private mount namespace here: unshare(1) is missing, or refused both as root and "
                        "with a user namespace";

    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const QString filter = QStringLiteral("--gtest_filter=%1.%2")
                               .arg(QLatin1String(test->test_suite_name()), QLatin1String(test->name()));
    QProcess run;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QLatin1String(insideVariable), QStringLiteral("1"));
    run.setProcessEnvironment(environment);
    run.setProcessChannelMode(QProcess::MergedChannels);
    run.start(QStringLiteral("unshare"),
              options + QStringList{QCoreApplication::applicationFilePath(), filter});
    const bool finished = run.waitForFinished(60000);
    const std::string output = run.readAll().toStdString();
    ASSERT_TRUE(finished && run.exitStatus() == QProcess::NormalExit && run.exitCode() == 0) << output;
    if (output.find("[  SKIPPED ]") != std::string::npos) GTEST_SKIP() << output;
    ASSERT_NE(output.find("[  PASSED  ] 1 test"), std::string::npos) << output;
}

bool mountTmpfs(const QString& folder, int kibibytes) {
    const QByteArray options = "size=" + QByteArray::number(kibibytes) + "k";
    return succeeded(::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, options.constData()),
                     "cannot mount a tmpfs on", folder);
}

bool unmount(const QString& folder) {
    return succeeded(::umount2(QFile::encodeName(folder).constData(), MNT_DETACH), "cannot unmount", folder);
}

} // namespace PrivateMounts

#include "PrivateMounts.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <sys/mount.h>
#include <unistd.h>

namespace PrivateMounts {
namespace {

const char* const insideVariable = "KESTAVON_TEST_PRIVATE_MOUNTS";

// The unshare(1) options that give this process a private mount namespace, tried in order;
// empty when none works here (no unshare, no privilege, user namespaces switched off).
const QStringList& unshareOptions() {
    static const QStringList options = [] {
        QList<QStringList> candidates;
        if (::geteuid() == 0)
            candidates.append(
                {QStringLiteral("--mount"), QStringLiteral("--propagation"), QStringLiteral("private")});
        candidates.append(
            {QStringLiteral("--user"), QStringLiteral("--map-root-user"), QStringLiteral("--mount")});
        for (const QStringList& candidate : candidates) {
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

bool failed(const char* what, const QString& folder) {
    ADD_FAILURE() << what << ' ' << folder.toStdString() << ": " << std::strerror(errno);
    return false;
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
    const QByteArray output = run.readAll();
    ASSERT_TRUE(finished) << output.toStdString();
    ASSERT_EQ(run.exitStatus(), QProcess::NormalExit) << output.toStdString();
    ASSERT_EQ(run.exitCode(), 0) << output.toStdString();
    if (output.contains("[  SKIPPED ]")) GTEST_SKIP() << output.toStdString();
    ASSERT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
}

bool mountTmpfs(const QString& folder, int kibibytes) {
    const QByteArray target = QFile::encodeName(folder);
    const QByteArray options = "size=" + QByteArray::number(kibibytes) + "k";
    if (::mount("tmpfs", target.constData(), "tmpfs", 0, options.constData()) != 0)
        return failed("cannot mount a tmpfs on", folder);
    return true;
}

bool remount(const QString& folder, bool readOnly) {
    const QByteArray target = QFile::encodeName(folder);
    const unsigned long flags = MS_REMOUNT | (readOnly ? MS_RDONLY : 0);
    if (::mount(nullptr, target.constData(), nullptr, flags, nullptr) != 0)
        return failed("cannot remount", folder);
    return true;
}

bool unmount(const QString& folder) {
    if (::umount2(QFile::encodeName(folder).constData(), MNT_DETACH) != 0)
        return failed("cannot unmount", folder);
    return true;
}

} // namespace PrivateMounts

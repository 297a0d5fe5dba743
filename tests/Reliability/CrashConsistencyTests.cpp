#include "Stores.h"

#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <unistd.h>

namespace {

QStringList entriesOf(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

class CrashConsistency : public ::testing::TestWithParam<const StoreKind*> {};

// A process saving in a tight loop is killed at random moments. Every time, the file must hold
// exactly one complete state that was written, at least as late as the first save of that run;
// a temporary file the kill left behind is removed by the next save.
TEST_P(CrashConsistency, KilledSaverAlwaysLeavesOneCompleteWrittenState) {
    const StoreKind& kind = *GetParam();
    const QString folder = TestSupport::freshFolder();
    const QString path = folder + u'/' + QLatin1String(kind.fileName);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // The saver logs nothing and touches no data folder of ours.
    environment.insert(QStringLiteral("HOME"), TestSupport::freshFolder());
    environment.insert(QStringLiteral("XDG_DATA_HOME"), TestSupport::freshFolder());

    std::mt19937 random(20261206u);
    std::int64_t reached = 0;
    int killedLater = 0; // kills that fell after a later save than the run's first
    for (int kill = 0; kill < 200; ++kill) {
        QProcess saver;
        saver.setProcessEnvironment(environment);
        saver.setProcessChannelMode(QProcess::ForwardedChannels);
        saver.start(QStringLiteral(KESTAVON_SAVE_LOOP),
                    {QLatin1String(kind.name), path, QString::number(random() % 3000)});
        ASSERT_TRUE(saver.waitForFinished(20000)) << "kill " << kill;
        ASSERT_EQ(saver.exitStatus(), QProcess::CrashExit) << "kill " << kill;

        const QByteArray bytes = TestSupport::readAll(path);
        const std::optional<std::int64_t> step = kind.stepOf(bytes);
        ASSERT_TRUE(step.has_value())
            << "kill " << kill << ": " << bytes.size() << " bytes: " << bytes.left(120).toStdString();
        ASSERT_GT(*step, reached) << "kill " << kill << ": the run's first save is missing";
        killedLater += *step > reached + 1 ? 1 : 0;
        reached = *step;
        QStringList others = entriesOf(folder);
        ASSERT_TRUE(others.removeOne(QLatin1String(kind.fileName)));
        ASSERT_LE(others.size(), 1) << "kill " << kill << ": " << others.join(' ').toStdString();
    }
    kind.open(path)->change();
    EXPECT_EQ(entriesOf(folder), QStringList{QLatin1String(kind.fileName)});
    EXPECT_EQ(kind.stepOf(TestSupport::readAll(path)), reached + 1);
    EXPECT_GT(killedLater, 0) << "the kills never fell after the first save of a run";
}

INSTANTIATE_TEST_SUITE_P(Stores, CrashConsistency, ::testing::Values(&bindingsStore, &statsStore),
                         [](const auto& info) { return std::string(info.param->name); });

// The temporary file of a save still in progress (its writer holds the lock) stays; once the
// writer is gone, the next save removes it.
TEST(AbandonedTemporaryFiles, OnlyThoseOfFinishedProcessesAreRemoved) {
    const QString folder = TestSupport::freshFolder();
    const QString inProgress = folder + "/.keyBindings.json.saving-inprogress";
    TestSupport::writeAll(inProgress, "[");
    const int fd = ::open(QFile::encodeName(inProgress).constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);

    const std::unique_ptr<StoreUnderTest> store = bindingsStore.open(folder + "/keyBindings.json");
    store->change();
    EXPECT_TRUE(QFile::exists(inProgress));
    ::close(fd);
    store->change();
    EXPECT_FALSE(QFile::exists(inProgress));
    EXPECT_EQ(TestSupport::readAll(folder + "/keyBindings.json"), bindingsStore.fileAt(2));
}

} // namespace

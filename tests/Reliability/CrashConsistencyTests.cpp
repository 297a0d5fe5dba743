#include "StoreUnderTest.h"
#include "SuccessiveStates.h"

#include "support/TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace {

struct SaveMode {
    const char* mode;
    const StoreKind* kind;
    std::optional<std::int64_t> (*stepOfFile)(const QByteArray&);
};

void PrintTo(const SaveMode& mode, std::ostream* out) {
    *out << mode.mode;
}

class CrashConsistency : public ::testing::TestWithParam<SaveMode> {};

// A process saving in a tight loop is killed at random moments. Every time, the file must hold
// exactly one complete state that was written, at least as late as the last one the process
// reported; a temporary file the kill left behind is removed by the next save.
TEST_P(CrashConsistency, KilledSaverAlwaysLeavesOneCompleteWrittenState) {
    constexpr int kills = 200;
    const QString folder = TestSupport::freshFolder();
    const QString path = folder + u'/' + QLatin1String(GetParam().kind->fileName);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // The saver logs nothing and touches no data folder of ours.
    environment.insert(QStringLiteral("HOME"), TestSupport::freshFolder());
    environment.insert(QStringLiteral("XDG_DATA_HOME"), TestSupport::freshFolder());

    std::mt19937 random(20261206u);
    std::uniform_int_distribution<int> delayMicroseconds(0, 3000);
    std::int64_t reached = 0;
    int killedMidway = 0; // kills that left the file at a later step than the announced one
    int leftBehind = 0;   // kills that left a temporary file
    QElapsedTimer clock;
    clock.start();
    for (int kill = 0; kill < kills; ++kill) {
        QProcess saver;
        saver.setProcessEnvironment(environment);
        saver.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        saver.start(QStringLiteral(KESTAVON_SAVE_LOOP), {QLatin1String(GetParam().mode), path});
        ASSERT_TRUE(saver.waitForStarted(5000));
        // The first save of this run has returned once the line arrives.
        ASSERT_TRUE(saver.waitForReadyRead(10000)) << "kill " << kill;
        // A short real wait is the point here: it picks the moment of the kill.
        std::this_thread::sleep_for(std::chrono::microseconds(delayMicroseconds(random)));
        ASSERT_EQ(::kill(pid_t(saver.processId()), SIGKILL), 0);
        ASSERT_TRUE(saver.waitForFinished(5000));
        ASSERT_EQ(saver.exitStatus(), QProcess::CrashExit);

        const QByteArray bytes = TestSupport::readAll(path);
        const std::optional<std::int64_t> step = GetParam().stepOfFile(bytes);
        ASSERT_TRUE(step.has_value())
            << "kill " << kill << ": " << bytes.size() << " bytes: " << bytes.left(120).toStdString();
        ASSERT_GT(*step, reached) << "kill " << kill << ": the announced save is missing";
        if (*step > reached + 1) ++killedMidway;
        reached = *step;
        // A kill mid-save may leave its temporary file; the next save removes it.
        QStringList others = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        ASSERT_TRUE(others.removeOne(QLatin1String(GetParam().kind->fileName)));
        ASSERT_LE(others.size(), 1) << "kill " << kill << ": " << others.join(' ').toStdString();
        leftBehind += int(others.size());
    }
    {
        const std::unique_ptr<StoreUnderTest> store = GetParam().kind->open(path);
        store->change();
    }
    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).join(' '),
              QLatin1String(GetParam().kind->fileName));
    EXPECT_EQ(GetParam().stepOfFile(TestSupport::readAll(path)), reached + 1);
    std::printf("%s: %d kills survived in %lld ms, %lld saves reached, %d kills after later saves, "
                "%d temporary files left for the next save\n",
                GetParam().mode, kills, static_cast<long long>(clock.elapsed()),
                static_cast<long long>(reached), killedMidway, leftBehind);
    EXPECT_GT(killedMidway, 0) << "the kills never fell after the first save of a run";
}

INSTANTIATE_TEST_SUITE_P(Stores, CrashConsistency,
                         ::testing::Values(SaveMode{"bindings", &bindingsStore,
                                                    SuccessiveStates::bindingsFileStep},
                                           SaveMode{"stats", &statsStore, SuccessiveStates::statsFileStep}),
                         [](const auto& info) { return std::string(info.param.mode); });

} // namespace

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

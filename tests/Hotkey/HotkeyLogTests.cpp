#include "Support/HotkeyLog.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <thread>

namespace {

const QRegularExpression stamped(QStringLiteral(R"(^\d\d-\d\d \d\d:\d\d:\d\d\.\d\d\d (.*)$)"));

void touch(const QString& path) { TestSupport::writeAll(path, {}); }

// The messages of the file's lines, or "<unstamped>" for a line without a time stamp.
QStringList messages(const QByteArray& bytes) {
    QStringList out;
    for (const QString& line : QString::fromUtf8(bytes).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const auto match = stamped.match(line);
        out << (match.hasMatch() ? match.captured(1) : QStringLiteral("<unstamped>"));
    }
    return out;
}

} // namespace

// Off unless its switch file is there when the log is made; traceAll needs the log on.
TEST(HotkeyLogOff, PrintsAndCreatesNothingAndIgnoresSwitchFilesMadeLater) {
    const QString folder = TestSupport::freshFolder() + QStringLiteral("/Kestavon");
    HotkeyLog log(folder);
    testing::internal::CaptureStdout();
    log.write(QStringLiteral("hello"));
    log.flush();
    EXPECT_FALSE(QFileInfo::exists(folder));
    QDir().mkpath(folder);
    touch(folder + QStringLiteral("/hotkey.traceAll"));
    touch(folder + QStringLiteral("/hotkey.log.on"));
    log.write(QStringLiteral("too late"));
    log.flush();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_FALSE(QFileInfo::exists(log.fileURL()));
    EXPECT_FALSE(log.traceAll());
}

class HotkeyLogOn : public testing::Test {
protected:
    void SetUp() override { touch(folder + QStringLiteral("/hotkey.log.on")); }
    QByteArray file() const { return TestSupport::readAll(folder + QStringLiteral("/hotkey.log")); }
    QString folder = TestSupport::freshFolder();
};

TEST_F(HotkeyLogOn, KeepsEachThreadsOrderAndWritesWhatIsQueuedBeforeItGoes) {
    {
        HotkeyLog log(folder);
        auto writer = [&log](char name) {
            for (int i = 0; i < 300; ++i) log.write(QStringLiteral("%1 %2").arg(QLatin1Char(name)).arg(i));
        };
        std::thread a(writer, 'a'), b(writer, 'b');
        a.join();
        b.join();
    }  // no flush: destruction must not drop queued lines
    QHash<QChar, int> next;
    const QStringList lines = messages(file());
    ASSERT_EQ(lines.size(), 600);
    for (const QString& line : lines) EXPECT_EQ(line.mid(2).toInt(), next[line.at(0)]++) << qPrintable(line);
}

// Each line is printed too, and stamped in the file.
TEST_F(HotkeyLogOn, FileIsPrivateToItsOwnerWhetherNewOrAlreadyThere) {
    HotkeyLog log(folder);
    testing::internal::CaptureStdout();
    log.write(QStringLiteral("命中 1-q → Terminal"));
    log.flush();
    EXPECT_EQ(TestSupport::modeOf(log.fileURL()), 0600u);

    ::chmod(QFile::encodeName(log.fileURL()).constData(), 0644);
    log.write(QStringLiteral("again"));
    log.flush();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "命中 1-q → Terminal\nagain\n");
    EXPECT_EQ(TestSupport::modeOf(log.fileURL()), 0600u);
    EXPECT_EQ(messages(file()),
              QStringList({QStringLiteral("命中 1-q → Terminal"), QStringLiteral("again")}));
}

TEST_F(HotkeyLogOn, ALinkInTheFilesPlaceIsNotFollowedAndTheLogGoesOnWithoutIt) {
    const QString other = TestSupport::freshFolder() + QStringLiteral("/notes.txt");
    TestSupport::writeAll(other, QByteArray(HotkeyLog::maxFileBytes + 1, 'n'));
    ::chmod(QFile::encodeName(other).constData(), 0604);
    ASSERT_TRUE(QFile::link(other, folder + QStringLiteral("/hotkey.log")));
    HotkeyLog log(folder);
    log.write(QStringLiteral("through the link"));
    log.flush();
    EXPECT_EQ(TestSupport::readAll(other), QByteArray(HotkeyLog::maxFileBytes + 1, 'n'));
    EXPECT_EQ(TestSupport::modeOf(other), 0604u);
    EXPECT_TRUE(QFileInfo(log.fileURL()).isSymLink());
}

TEST_F(HotkeyLogOn, StartsAfreshOnlyOnceTheFileIsLargerThanTheCap) {
    const QByteArray marker = QByteArrayLiteral("---- 日志超长，旧内容已丢弃 ----\n");
    ASSERT_EQ(marker.size(), 44);
    TestSupport::writeAll(folder + QStringLiteral("/hotkey.log"), QByteArray(HotkeyLog::maxFileBytes, 'x'));
    HotkeyLog log(folder);
    log.write(QStringLiteral("at the cap"));
    log.flush();
    const QByteArray full = file();
    EXPECT_TRUE(full.startsWith(QByteArray(HotkeyLog::maxFileBytes, 'x')));
    EXPECT_EQ(messages(full.mid(HotkeyLog::maxFileBytes)), QStringList(QStringLiteral("at the cap")));

    log.write(QStringLiteral("past the cap"));
    log.flush();
    const QByteArray fresh = file();
    ASSERT_TRUE(fresh.startsWith(marker));
    EXPECT_EQ(messages(fresh.mid(marker.size())), QStringList(QStringLiteral("past the cap")));
}

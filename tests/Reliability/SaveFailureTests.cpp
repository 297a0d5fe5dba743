#include "PrivateMounts.h"
#include "Stores.h"

#include "../Keyboard/BindingsTestSupport.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QScopeGuard>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <map>
#include <unistd.h>

using BindingsTestSupport::LogWatch;

namespace {

// Everything under `folder`: relative paths, with the bytes of the files.
std::map<QString, QByteArray> contentsOf(const QString& folder) {
    std::map<QString, QByteArray> contents;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        contents[QDir(folder).relativeFilePath(path)] =
            it.fileInfo().isFile() ? TestSupport::readAll(path) : "<folder>";
    }
    return contents;
}

// Fills the file system of `folder` to the last byte.
bool fillUp(const QString& folder) {
    const int fd =
        ::open(QFile::encodeName(folder + "/filler").constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    const QByteArray chunk(4096, 'f');
    while (::write(fd, chunk.constData(), size_t(chunk.size())) > 0) {
    }
    while (::write(fd, chunk.constData(), 1) > 0) {
    }
    const bool full = errno == ENOSPC;
    ::close(fd);
    return full;
}

// What makes a save fail: part-way through writing when the disk is full, or when the written
// file is put in place and a folder stands at its path.
struct Cause {
    const char* name;
    bool diskFull;
};

const Cause causes[] = {{"DiskFull", true}, {"FileIsAFolder", false}};

void PrintTo(const Cause& cause, std::ostream* out) {
    *out << cause.name;
}

class SaveFailure : public ::testing::TestWithParam<std::tuple<const StoreKind*, Cause>> {};

// Each cause gives the one log line of a failed save, touches nothing on disk (no half file,
// no temporary file left), and the store keeps the change in memory; once the cause is gone,
// the next change saves the whole state.
TEST_P(SaveFailure, LogsOnceKeepsMemoryLeavesTheDiskAsItWasThenRecovers) {
    const auto& [kind, cause] = GetParam();
    if (cause.diskFull && !PrivateMounts::inside()) return PrivateMounts::runCurrentTestInside();

    const QString folder = TestSupport::freshFolder() + "/Kestavon";
    ASSERT_TRUE(QDir().mkpath(folder));
    bool mounted = false;
    // At the end, so the test's temporary folder can go.
    const auto unmount = qScopeGuard([&] {
        if (mounted) PrivateMounts::unmount(folder);
    });
    if (cause.diskFull) {
        ASSERT_TRUE(mounted = PrivateMounts::mountTmpfs(folder, 64));
    }
    const QString path = folder + '/' + kind->fileName;
    TestSupport::writeAll(path, kind->fileAt(50));
    const std::unique_ptr<StoreUnderTest> store = kind->open(path);
    ASSERT_EQ(store->memory(), kind->fileAt(50));

    if (cause.diskFull) {
        ASSERT_TRUE(fillUp(folder));
    } else {
        ASSERT_TRUE(QFile::remove(path) && QDir().mkpath(path));
        TestSupport::writeAll(path + "/inside", "kept");
    }
    const auto disk = contentsOf(folder);
    {
        const LogWatch log;
        store->change();
        const QStringList lines = log.messages().filter(".json");
        ASSERT_EQ(lines.size(), 1) << log.messages().join('\n').toStdString();
        // The reason follows the message.
        EXPECT_TRUE(lines[0].startsWith(kind->writeFailed) && lines[0].size() > kind->writeFailed.size())
            << lines[0].toStdString();
    }
    EXPECT_EQ(store->memory(), kind->fileAt(51));
    EXPECT_TRUE(contentsOf(folder) == disk)
        << "the file now has " << TestSupport::readAll(path).size() << " bytes";

    ASSERT_TRUE(cause.diskFull ? QFile::remove(folder + "/filler") : QDir(path).removeRecursively());
    const LogWatch log;
    store->change();
    EXPECT_EQ(log.messages().filter(".json"), QStringList{});
    EXPECT_EQ(store->memory(), kind->fileAt(52));
    EXPECT_EQ(TestSupport::readAll(path), kind->fileAt(52));
    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{kind->fileName});
}

INSTANTIATE_TEST_SUITE_P(Stores, SaveFailure, againstBothStores(causes), StoreCaseName());

} // namespace

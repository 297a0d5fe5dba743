#include "Support/FileIO.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using Status = FileIO::ReadResult::Status;

TEST(FileIORead, DistinguishesMissingTooLargeAndFoldersFromGoodFiles) {
    const QString folder = TestSupport::freshFolder();
    EXPECT_EQ(FileIO::read(folder + "/missing", 100).status, Status::unreadable);
    EXPECT_EQ(FileIO::read(folder, 100).status, Status::unreadable);  // a folder is not a file

    TestSupport::writeAll(folder + "/ten", "0123456789");
    EXPECT_EQ(FileIO::read(folder + "/ten", 9).status, Status::tooLarge);
    const auto exact = FileIO::read(folder + "/ten", 10);
    EXPECT_EQ(exact.status, Status::ok);
    EXPECT_EQ(exact.bytes, "0123456789");

    TestSupport::writeAll(folder + "/empty", "");
    const auto empty = FileIO::read(folder + "/empty", 10);
    EXPECT_EQ(empty.status, Status::ok);
    EXPECT_TRUE(empty.bytes.isEmpty());
}

TEST(FileIOWrite, CreatesMissingFoldersAndReplacesTheWholeFile) {
    const QString path = TestSupport::freshFolder() + "/a/b/c.json";
    EXPECT_EQ(FileIO::writeAtomically(path, "first, long content"), std::nullopt);
    EXPECT_EQ(FileIO::writeAtomically(path, "second"), std::nullopt);
    EXPECT_EQ(TestSupport::readAll(path), "second");
    // No temporary file is left beside it.
    EXPECT_EQ(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files), QStringList{"c.json"});
}

TEST(FileIOWrite, ReportsFailuresAndLeavesTheOldFileAlone) {
    const QString folder = TestSupport::freshFolder();
    // A regular file where a folder should be: folder creation fails even for root.
    TestSupport::writeAll(folder + "/blocker", "x");
    const auto blocked = FileIO::writeAtomically(folder + "/blocker/data.json", "{}");
    ASSERT_TRUE(blocked.has_value());
    EXPECT_FALSE(blocked->isEmpty());

    // A folder where the file should be: the replacement cannot land.
    QDir().mkpath(folder + "/taken.json");
    EXPECT_TRUE(FileIO::writeAtomically(folder + "/taken.json", "{}").has_value());
    EXPECT_TRUE(QFileInfo(folder + "/taken.json").isDir());
}

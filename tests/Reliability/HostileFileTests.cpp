#include "Stores.h"

#include "../Keyboard/BindingsTestSupport.h"
#include "Keyboard/KeyBindingStore.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>

using BindingsTestSupport::LogWatch;

namespace {

// Bytes this thread has read so far, from the kernel's accounting; -1 where it is not kept.
qint64 bytesReadByThisThread() {
    const QByteArray io = TestSupport::readAll(QStringLiteral("/proc/thread-self/io"));
    const qsizetype at = io.indexOf("rchar: ");
    return at < 0 ? -1 : io.mid(at + 7, io.indexOf('\n', at) - at - 7).toLongLong();
}

// What the file system holds at a path: a rewrite or a removal changes it.
std::tuple<dev_t, ino_t, off_t, mode_t> identityOf(const QString& path) {
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0) return {0, 0, -1, 0};
    return {info.st_dev, info.st_ino, info.st_size, info.st_mode & S_IFMT};
}

enum class Shape { file, sparse, pipe, linkToPipe };

// One hostile thing at the data file's path.
struct Hostile {
    const char* name;
    Shape shape;
    /// For a file: its bytes.
    QByteArray bytes;
    /// Part of the bindings' log line when the file counts as undecodable; nullptr when it
    /// reads as missing, silently. The statistics log nothing when loading either way.
    const char* undecodable;
};

void PrintTo(const Hostile& hostile, std::ostream* out) {
    *out << hostile.name;
}

const Hostile hostiles[] = {
    {"OneGibibyteSparse", Shape::sparse, {}, "larger than 1048576 bytes"},
    {"DeeplyNested", Shape::file, QByteArray(1'000'000, '['), "nesting too deep"},
    {"HugeUnterminatedString", Shape::file, "[{\"key\":\"" + QByteArray(1'000'000, 'x'),
     "unexpected end of data"},
    {"NamedPipe", Shape::pipe, {}, nullptr},
    {"LinkToNamedPipe", Shape::linkToPipe, {}, nullptr},
};

void make(const Hostile& hostile, const QString& path) {
    const QString pipe = hostile.shape == Shape::linkToPipe ? path + ".pipe" : path;
    switch (hostile.shape) {
    case Shape::file:
        return TestSupport::writeAll(path, hostile.bytes);
    case Shape::sparse:
        TestSupport::writeAll(path, {});
        QFile::resize(path, qint64(1) << 30);
        return;
    case Shape::pipe:
    case Shape::linkToPipe:
        ::mkfifo(QFile::encodeName(pipe).constData(), 0644);
        if (pipe != path) QFile::link(pipe, path);
        return;
    }
}

class HostileFile : public ::testing::TestWithParam<std::tuple<const StoreKind*, Hostile>> {};

// A hostile file loads as no bindings or zero counters without being read whole (nor hanging
// on a pipe), with the log line the bindings give; it stays on disk as it is until the first
// change saves, which keeps it beside the new file.
TEST_P(HostileFile, LoadsAsEmptyWithoutReadingItWholeAndIsKeptAsideAtTheFirstChange) {
    const auto& [kind, hostile] = GetParam();
    const QString path = TestSupport::freshFolder() + '/' + kind->fileName;
    make(hostile, path);
    const auto before = identityOf(path);
    ASSERT_NE(std::get<off_t>(before), -1);

    const LogWatch log;
    const qint64 readBefore = bytesReadByThisThread();
    if (kind == &bindingsStore) {
        // The hotkey path reads the file on every stroke, the editor once.
        EXPECT_FALSE(KeyBindingStore::lookup(path, u"1-q").entry.has_value());
        EXPECT_TRUE(KeyBindingStore::snapshot(path).isEmpty());
    }
    const std::unique_ptr<StoreUnderTest> store = kind->open(path);
    const qint64 read = bytesReadByThisThread() - readBefore;
    EXPECT_TRUE(readBefore < 0 || read < 8 << 20) << read << " bytes read";
    EXPECT_EQ(store->memory(), kind->fileAt(0));
    const qsizetype lines = kind == &bindingsStore && hostile.undecodable ? 3 : 0;
    EXPECT_EQ(log.messages().size(), lines) << log.messages().join('\n').toStdString();
    for (const QString& line : log.messages())
        EXPECT_TRUE(line.startsWith(BindingsTestSupport::undecodable) && line.contains(hostile.undecodable))
            << line.toStdString();
    EXPECT_EQ(identityOf(path), before) << "the file was touched before any change";

    store->change();
    // Whatever was there is kept, untouched, beside the new file.
    EXPECT_EQ(TestSupport::readAll(path), kind->fileAt(1));
    const QString folder = QFileInfo(path).absolutePath();
    const QStringList kept = QDir(folder).entryList({QString(kind->fileName) + ".unreadable-*"},
                                                    QDir::AllEntries | QDir::System | QDir::Hidden);
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(identityOf(folder + '/' + kept[0]), before);
}

INSTANTIATE_TEST_SUITE_P(Stores, HostileFile, againstBothStores(hostiles), StoreCaseName());

} // namespace

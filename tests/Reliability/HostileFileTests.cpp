#include "StoreUnderTest.h"

#include "../Keyboard/BindingsTestSupport.h"
#include "Keyboard/KeyBindingStore.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using BindingsTestSupport::LogWatch;

namespace {

// Bytes this thread has read so far, from the kernel's accounting; -1 where it is not kept.
qint64 bytesReadByThisThread() {
    const QByteArray io = TestSupport::readAll(QStringLiteral("/proc/thread-self/io"));
    const qsizetype at = io.indexOf("rchar: ");
    return at < 0 ? -1 : io.mid(at + 7, io.indexOf('\n', at) - at - 7).toLongLong();
}

// What the file system holds at a path: a rewrite or a removal changes it.
struct Identity {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = -1;
    mode_t type = 0;
    bool operator==(const Identity&) const = default;
};

Identity identityOf(const QString& path) {
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0) return {};
    return {info.st_dev, info.st_ino, info.st_size, info.st_mode & S_IFMT};
}

QByteArray goodFileOf(const QString& path) {
    return path.endsWith(QLatin1String(bindingsStore.fileName)) ? bindingsStore.fileAt(50)
                                                                : statsStore.fileAt(50);
}

// One hostile thing at the data file's path.
struct Hostile {
    const char* name;
    void (*make)(const QString& path);
    /// Part of the bindings' log line when the file counts as undecodable; nullptr when it
    /// reads as missing, silently. The statistics log nothing when loading either way.
    const char* undecodable;
    /// Whether the next save replaces it; otherwise that save fails and leaves it in place.
    bool replaced;
};

const Hostile hostiles[] = {
    {"OneGibibyteSparse",
     [](const QString& path) {
         TestSupport::writeAll(path, {});
         QFile::resize(path, qint64(1) << 30);
     },
     "larger than 1048576 bytes", true},
    {"Truncated", [](const QString& path) { TestSupport::writeAll(path, goodFileOf(path).chopped(7)); },
     "unexpected end of data", true},
    {"DeeplyNested", [](const QString& path) { TestSupport::writeAll(path, QByteArray(1'000'000, '[')); },
     "nesting too deep", true},
    {"HugeUnterminatedString",
     [](const QString& path) { TestSupport::writeAll(path, "[{\"key\":\"" + QByteArray(1'000'000, 'x')); },
     "unexpected end of data", true},
    {"ZeroFilled", [](const QString& path) { TestSupport::writeAll(path, QByteArray(8192, '\0')); },
     "unexpected byte 0x00", true},
    {"NulBetweenValues",
     [](const QString& path) {
         QByteArray bytes = goodFileOf(path);
         TestSupport::writeAll(path, bytes.insert(bytes.indexOf(',') + 1, '\0'));
     },
     "unexpected byte 0x00", true},
    {"InvalidUtf8",
     [](const QString& path) { TestSupport::writeAll(path, goodFileOf(path).replace("App ", "App\xff")); },
     "invalid UTF-8", true},
    {"NamedPipe", [](const QString& path) { ::mkfifo(QFile::encodeName(path).constData(), 0644); }, nullptr,
     false},
    {"LinkToNamedPipe",
     [](const QString& path) {
         ::mkfifo(QFile::encodeName(path + ".pipe").constData(), 0644);
         QFile::link(path + ".pipe", path);
     },
     nullptr, false},
};

void PrintTo(const Hostile& hostile, std::ostream* out) {
    *out << hostile.name;
}

class HostileFile : public ::testing::TestWithParam<std::tuple<const StoreKind*, Hostile>> {};

// A hostile file loads as no bindings or zero counters, quickly and without being read whole,
// with the documented log line; it stays on disk as it is until the first change saves.
TEST_P(HostileFile, LoadsAsEmptyQuicklyAndStaysUntilTheFirstChange) {
    const auto& [kind, hostile] = GetParam();
    const QString path = TestSupport::freshFolder() + '/' + kind->fileName;
    hostile.make(path);
    const Identity before = identityOf(path);
    ASSERT_NE(before.size, -1);

    const LogWatch log;
    const qint64 readBefore = bytesReadByThisThread();
    QElapsedTimer clock;
    clock.start();
    if (kind == &bindingsStore) {
        // The hotkey path reads the file on every stroke, the editor once.
        EXPECT_FALSE(KeyBindingStore::lookup(path, u"1-q").entry.has_value());
        EXPECT_TRUE(KeyBindingStore::snapshot(path).isEmpty());
    }
    const std::unique_ptr<StoreUnderTest> store = kind->open(path);
    const qint64 elapsed = clock.elapsed();
    const qint64 read = bytesReadByThisThread() - readBefore;

    EXPECT_EQ(store->memory(), kind->fileAt(0));
    EXPECT_LT(elapsed, 2000) << "ms";
    if (readBefore >= 0) {
        EXPECT_LT(read, 8 << 20) << "bytes read";
    }
    const QStringList undecodable = log.messagesStartingWith(BindingsTestSupport::undecodable);
    const bool logs = kind == &bindingsStore && hostile.undecodable;
    EXPECT_EQ(undecodable.size(), logs ? 3 : 0) << log.messages().join('\n').toStdString();
    EXPECT_EQ(log.messages().size(), undecodable.size());
    if (logs && !undecodable.isEmpty()) {
        EXPECT_TRUE(undecodable[0].contains(QLatin1String(hostile.undecodable)))
            << undecodable[0].toStdString();
    }
    EXPECT_EQ(identityOf(path), before) << "the file was touched before any change";

    const LogWatch saving;
    store->change();
    if (hostile.replaced) {
        EXPECT_EQ(TestSupport::readAll(path), kind->fileAt(1));
        EXPECT_TRUE(saving.messagesStartingWith(kind->writeFailed).isEmpty());
    } else {
        EXPECT_EQ(identityOf(path), before);
        EXPECT_EQ(saving.messagesStartingWith(kind->writeFailed).size(), 1);
        EXPECT_EQ(store->memory(), kind->fileAt(1));
    }
}

INSTANTIATE_TEST_SUITE_P(Stores, HostileFile, againstBothStores(hostiles), StoreCaseName());

} // namespace

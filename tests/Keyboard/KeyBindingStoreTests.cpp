#include "BindingsTestSupport.h"

#include "Keyboard/KeyBindingStore.h"
#include "Support/FileIO.h"
#include "support/TestSupport.h"

#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace BindingsTestSupport;

namespace {

const AppEntry terminal = app("org.gnome.Terminal", "Terminal");
const AppEntry firefox = app("firefox", "Firefox");
const AppEntry files = app("org.gnome.Nautilus", "Files");

QString freshBindingsPath() {
    return TestSupport::freshFolder() + "/deeper/keyBindings.json";
}

// A store whose file can never be written: its folder would have to be made inside a regular file.
QString unwritablePath() {
    const QString blocker = TestSupport::freshFolder() + "/blocker";
    TestSupport::writeAll(blocker, "x");
    return blocker + "/keyBindings.json";
}

// Identity of the file on disk: an atomic save always puts a new file in place.
struct FileStamp {
    ino_t inode = 0;
    QByteArray bytes;
    bool operator==(const FileStamp&) const = default;
};

// Counts bindingsChanged signals.
struct ChangeCounter {
    explicit ChangeCounter(KeyBindingStore& store) {
        QObject::connect(&store, &KeyBindingStore::bindingsChanged, [this] { ++emitted_; });
    }
    int count() const { return emitted_; }
    int emitted_ = 0;
};

FileStamp stampOf(const QString& path) {
    struct stat info {};
    ::stat(QFile::encodeName(path).constData(), &info);
    return {info.st_ino, TestSupport::readAll(path)};
}

// Keys are ordered by their bytes: "0--" before "0-`", unlike the keyboard's order.
TEST(KeyBindingStoreFile, IsWrittenInKeyByteOrderCompactWithSlashesEscaped) {
    KeyBindingStore store(freshBindingsPath());
    store.bind("3-/", {"firefox", "/usr/lib/firefox/firefox", "Firefox"});
    store.bind("0-`",
               {"org.gnome.Terminal", "/usr/share/applications/org.gnome.Terminal.desktop", "Terminal"});
    store.bind("0--", {"code", "/snap/code", "Visual Studio Code"});
    EXPECT_EQ(
        TestSupport::readAll(store.fileURL()),
        R"([{"key":"0--","entry":{"bundleId":"code","path":"\/snap\/code","name":"Visual Studio Code"}},)"
        R"({"key":"0-`","entry":{"bundleId":"org.gnome.Terminal","path":"\/usr\/share\/applications\/org.gnome.Terminal.desktop","name":"Terminal"}},)"
        R"({"key":"3-\/","entry":{"bundleId":"firefox","path":"\/usr\/lib\/firefox\/firefox","name":"Firefox"}}])");
}

TEST(KeyBindingStoreFile, DefaultsToTheDataFolder) {
    EXPECT_TRUE(KeyBindingStore().fileURL().endsWith("/Kestavon/keyBindings.json"));
}

TEST(KeyBindingStoreBind, FirstBindCreatesTheFolderAndTheFile) {
    KeyBindingStore store(freshBindingsPath());
    ChangeCounter changed(store);
    EXPECT_TRUE(store.bind("1-q", terminal));
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(store.bindings(), (KeyBindingStore::Bindings{{"1-q", terminal}}));
    EXPECT_EQ(KeyBindingStore::snapshot(store.fileURL()), store.bindings());
}

TEST(KeyBindingStoreBind, RejectsKeysThatAreNotBindableAndWritesNothing) {
    KeyBindingStore store(freshBindingsPath());
    ChangeCounter changed(store);
    for (const char* key : {"4-x", "1-Q", "", "1-qq", "q"})
        EXPECT_FALSE(store.bind(key, terminal)) << key;
    EXPECT_TRUE(store.bindings().isEmpty());
    EXPECT_EQ(changed.count(), 0);
    EXPECT_FALSE(QFileInfo::exists(store.fileURL()));
}

TEST(KeyBindingStoreBind, ReplacesTheApplicationOfABoundKey) {
    KeyBindingStore store(freshBindingsPath());
    store.bind("1-q", terminal);
    store.bind("2-a", terminal); // one application may sit on several keys
    EXPECT_TRUE(store.bind("1-q", firefox));
    const KeyBindingStore::Bindings expected{{"1-q", firefox}, {"2-a", terminal}};
    EXPECT_EQ(store.bindings(), expected);
    EXPECT_EQ(KeyBindingStore::snapshot(store.fileURL()), expected);
}

TEST(KeyBindingStoreUnbind, RemovesAndSavesDownToAnEmptyArray) {
    KeyBindingStore store(freshBindingsPath());
    store.bind("1-q", terminal);
    store.bind("2-a", firefox);
    ChangeCounter changed(store);
    store.unbind("1-q");
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(KeyBindingStore::snapshot(store.fileURL()), (KeyBindingStore::Bindings{{"2-a", firefox}}));
    store.unbind("2-a");
    EXPECT_EQ(TestSupport::readAll(store.fileURL()), "[]");
}

TEST(KeyBindingStoreUnbind, KeyThatIsNotBoundWritesNothing) {
    KeyBindingStore store(freshBindingsPath());
    store.bind("1-q", terminal);
    const FileStamp before = stampOf(store.fileURL());
    ChangeCounter changed(store);
    store.unbind("2-a");
    store.unbind("not a key");
    EXPECT_EQ(stampOf(store.fileURL()), before);
    EXPECT_EQ(changed.count(), 0);
}

TEST(KeyBindingStoreRefreshPaths, ChangesOnlyPathsAndSavesOnce) {
    // Every save to this path fails with one log line: the lines count the saves.
    KeyBindingStore store(unwritablePath());
    store.bind("1-q", terminal);
    store.bind("2-a", firefox);
    store.bind("3-m", files);
    const LogWatch log;
    ChangeCounter changed(store);
    store.refreshPaths([](const QString& bundleId) -> std::optional<QString> {
        if (bundleId == "org.gnome.Terminal") return QString("/opt/terminal.desktop");
        if (bundleId == "firefox") return QString("/opt/firefox.desktop");
        if (bundleId == "org.gnome.Nautilus") return files.path; // unchanged
        return std::nullopt;
    });
    EXPECT_EQ(store.bindings(),
              (KeyBindingStore::Bindings{{"1-q", {terminal.bundleId, "/opt/terminal.desktop", "Terminal"}},
                                         {"2-a", {firefox.bundleId, "/opt/firefox.desktop", "Firefox"}},
                                         {"3-m", files}}));
    EXPECT_EQ(log.messagesStartingWith(writeFailed).size(), 1);
    EXPECT_EQ(changed.count(), 1);
}

TEST(KeyBindingStoreRefreshPaths, LookupThatKnowsNothingWritesNothing) {
    KeyBindingStore store(freshBindingsPath());
    store.bind("1-q", terminal);
    const FileStamp before = stampOf(store.fileURL());
    ChangeCounter changed(store);
    store.refreshPaths([](const QString&) { return std::optional<QString>(); });
    store.refreshPaths([](const QString&) { return std::optional<QString>(terminal.path); });
    EXPECT_EQ(stampOf(store.fileURL()), before);
    EXPECT_EQ(changed.count(), 0);
}

TEST(KeyBindingStoreLoad, ReadsTheFileOnlyTheFirstTime) {
    const QString path = freshBindingsPath();
    ASSERT_EQ(FileIO::writeAtomically(path, KeyBindingStore::encode({{"1-q", terminal}})), std::nullopt);
    KeyBindingStore store(path);
    EXPECT_FALSE(store.isLoaded());
    EXPECT_TRUE(store.bindings().isEmpty()); // nothing is read before loading

    ChangeCounter changed(store);
    store.load();
    EXPECT_TRUE(store.isLoaded());
    EXPECT_EQ(store.bindings(), (KeyBindingStore::Bindings{{"1-q", terminal}}));
    EXPECT_EQ(changed.count(), 1);

    TestSupport::writeAll(path, KeyBindingStore::encode({{"2-a", firefox}}));
    store.load();
    EXPECT_EQ(store.bindings(), (KeyBindingStore::Bindings{{"1-q", terminal}}));
    EXPECT_EQ(changed.count(), 1);
}

} // namespace

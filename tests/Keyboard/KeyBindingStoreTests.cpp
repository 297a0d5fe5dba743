#include "BindingsTestSupport.h"

#include "Keyboard/KeyBindingStore.h"
#include "support/TestSupport.h"

#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace BindingsTestSupport;
using Bindings = KeyBindingStore::Bindings;

namespace {

const AppEntry terminal = app("org.gnome.Terminal", "Terminal");
const AppEntry firefox = app("firefox", "Firefox");

// A store on a file in a folder that does not exist yet, counting its bindingsChanged signals.
struct Store {
    explicit Store(const QString& path = TestSupport::freshFolder() + "/deeper/keyBindings.json")
        : store(path) {
        QObject::connect(&store, &KeyBindingStore::bindingsChanged, [this] { ++changes; });
    }
    Bindings onDisk() const { return KeyBindingStore::snapshot(store.fileURL()); }
    // Identity of the file on disk: an atomic save always puts a new file in place.
    std::pair<ino_t, QByteArray> stamp() const {
        struct stat info {};
        ::stat(QFile::encodeName(store.fileURL()).constData(), &info);
        return {info.st_ino, TestSupport::readAll(store.fileURL())};
    }

    KeyBindingStore store;
    int changes = 0;
};

// Keys are ordered by their bytes: "0--" before "0-`", unlike the keyboard's order.
TEST(KeyBindingStoreFile, IsWrittenInKeyByteOrderCompactWithSlashesEscaped) {
    Store s;
    s.store.bind("3-/", {"firefox", "/usr/lib/firefox/firefox", "Firefox"});
    s.store.bind("0-`",
                 {"org.gnome.Terminal", "/usr/share/applications/org.gnome.Terminal.desktop", "Terminal"});
    s.store.bind("0--", {"code", "/snap/code", "Visual Studio Code"});
    EXPECT_EQ(
        TestSupport::readAll(s.store.fileURL()),
        R"([{"key":"0--","entry":{"bundleId":"code","path":"\/snap\/code","name":"Visual Studio Code"}},)"
        R"({"key":"0-`","entry":{"bundleId":"org.gnome.Terminal","path":"\/usr\/share\/applications\/org.gnome.Terminal.desktop","name":"Terminal"}},)"
        R"({"key":"3-\/","entry":{"bundleId":"firefox","path":"\/usr\/lib\/firefox\/firefox","name":"Firefox"}}])");
}

TEST(KeyBindingStoreChanges, EachBindAndUnbindSavesAndSignalsOnceDownToAnEmptyArray) {
    Store s;
    EXPECT_TRUE(s.store.bind("1-q", terminal)); // creates the folder and the file
    EXPECT_TRUE(s.store.bind("2-a", terminal)); // one application may sit on several keys
    EXPECT_TRUE(s.store.bind("1-q", firefox));
    EXPECT_EQ(s.store.bindings(), (Bindings{{"1-q", firefox}, {"2-a", terminal}}));
    EXPECT_EQ(s.onDisk(), s.store.bindings());
    s.store.unbind("1-q");
    EXPECT_EQ(s.onDisk(), (Bindings{{"2-a", terminal}}));
    s.store.unbind("2-a");
    EXPECT_EQ(TestSupport::readAll(s.store.fileURL()), "[]");
    EXPECT_EQ(s.changes, 5);
}

TEST(KeyBindingStoreChanges, RefusedKeysAndChangesThatChangeNothingWriteNothing) {
    Store s;
    for (const char* key : {"4-x", "1-Q", "", "1-qq", "q"})
        EXPECT_FALSE(s.store.bind(key, terminal)) << key;
    EXPECT_FALSE(QFileInfo::exists(s.store.fileURL()));
    s.store.bind("1-q", terminal);
    const auto before = s.stamp();
    s.changes = 0;
    s.store.unbind("2-a");
    s.store.unbind("not a key");
    s.store.refreshPaths([](const QString&) { return std::optional<QString>(); });
    s.store.refreshPaths([](const QString&) { return std::optional<QString>(terminal.path); });
    EXPECT_EQ(s.stamp(), before);
    EXPECT_EQ(s.store.bindings(), (Bindings{{"1-q", terminal}}));
    EXPECT_EQ(s.changes, 0);
}

} // namespace

#include "BindingsTestSupport.h"

#include "Keyboard/KeyBindingStore.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace BindingsTestSupport;

namespace {

// The hotkey path reads the file on its own thread while the editor saves: thanks to the atomic
// replacement it must see one whole version or the other, never an empty or partial file.
TEST(BindingsFileConcurrency, ReaderNeverSeesAPartialFile) {
    KeyBindingStore store(TestSupport::freshFolder() + "/keyBindings.json");
    const AppEntry terminal = app("org.gnome.Terminal", "Terminal");
    const AppEntry firefox = app("org.mozilla.firefox", "Firefox");
    for (const char* key : {"0-1", "1-w", "2-s", "2-d", "3-z", "3-/", "0-`", "1-p", "2-l", "3-m"})
        store.bind(key, app(QStringLiteral("org.example.") + key[2], QStringLiteral("App ") + key));
    store.bind("1-q", terminal);
    KeyBindingStore::Bindings withTerminal = store.bindings();
    KeyBindingStore::Bindings withFirefox = withTerminal;
    withFirefox["1-q"] = firefox;

    std::atomic<bool> done = false;
    std::atomic<int> reads = 0;
    std::atomic<int> torn = 0;
    std::thread reader([&] {
        do {
            const auto seen = KeyBindingStore::snapshot(store.fileURL());
            if (seen != withTerminal && seen != withFirefox) ++torn;
            const auto found = KeyBindingStore::lookup(store.fileURL(), u"1-q");
            if (found.count != withTerminal.size() || (found.entry != terminal && found.entry != firefox))
                ++torn;
            ++reads;
        } while (!done);
    });

    const LogWatch log;
    for (int save = 0; save < 1000; ++save)
        store.bind("1-q", save % 2 == 0 ? firefox : terminal);
    done = true;
    reader.join();

    EXPECT_EQ(torn, 0) << "of " << reads << " reads";
    EXPECT_GT(reads, 0);
    EXPECT_TRUE(log.messages().isEmpty());
}

} // namespace

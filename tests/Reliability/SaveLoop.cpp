// kestavon-save-loop MODE PATH: saves successive states (SuccessiveStates) to PATH through the
// real store of MODE ("bindings" or "stats") until it is killed. It carries on from the state
// the file holds, and prints one line once its first save has returned.
#include "SuccessiveStates.h"

#include "Keyboard/KeyBindingStore.h"
#include "Stats/UsageStatsStore.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstring>

namespace {

void announceFirstSave(bool& announced) {
    if (announced) return;
    announced = true;
    std::fputs("saved\n", stdout);
    std::fflush(stdout);
}

[[noreturn]] void saveBindings(const QString& path) {
    KeyBindingStore store(path);
    store.load();
    bool announced = false;
    for (std::int64_t step = SuccessiveStates::stepOf(store.bindings()) + 1;; ++step) {
        const KeyBindingStore::StoredBinding binding = SuccessiveStates::bindingOf(step);
        store.bind(binding.key, binding.entry);
        announceFirstSave(announced);
    }
}

[[noreturn]] void saveStats(const QString& path) {
    UsageStatsStore store(path);
    bool announced = false;
    for (std::int64_t step = store.stats().totalSuccess + 1;; ++step) {
        const SuccessiveStates::Jump jump = SuccessiveStates::jumpOf(step);
        store.recordSuccess(jump.name, jump.bundleId);
        announceFirstSave(announced);
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fputs("usage: kestavon-save-loop bindings|stats PATH\n", stderr);
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[2]);
    if (std::strcmp(argv[1], "bindings") == 0) saveBindings(path);
    if (std::strcmp(argv[1], "stats") == 0) saveStats(path);
    std::fputs("unknown mode\n", stderr);
    return 2;
}

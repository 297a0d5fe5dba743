#include "StoreUnderTest.h"

#include "SuccessiveStates.h"

#include "Keyboard/KeyBindingStore.h"
#include "Stats/UsageStatsStore.h"

namespace {

class Bindings : public StoreUnderTest {
public:
    explicit Bindings(const QString& path) : store(path) {
        store.load();
        step = SuccessiveStates::stepOf(store.bindings());
    }
    void change() override {
        const KeyBindingStore::StoredBinding binding = SuccessiveStates::bindingOf(++step);
        store.bind(binding.key, binding.entry);
    }
    QByteArray memory() const override { return KeyBindingStore::encode(store.bindings()); }

private:
    KeyBindingStore store;
    std::int64_t step = 0;
};

class Stats : public StoreUnderTest {
public:
    explicit Stats(const QString& path) : store(path) {}
    void change() override {
        const SuccessiveStates::Jump jump = SuccessiveStates::jumpOf(store.stats().totalSuccess + 1);
        store.recordSuccess(jump.name, jump.bundleId);
    }
    QByteArray memory() const override { return UsageStats::encode(store.stats()); }

private:
    UsageStatsStore store;
};

} // namespace

const StoreKind bindingsStore{
    "Bindings",
    "keyBindings.json",
    QStringLiteral("keyBindings.json 写入失败: "),
    [](std::int64_t step) { return KeyBindingStore::encode(SuccessiveStates::bindingsAfter(step)); },
    [](const QString& path) -> std::unique_ptr<StoreUnderTest> { return std::make_unique<Bindings>(path); },
};

const StoreKind statsStore{
    "Stats",
    "usageStats.json",
    QStringLiteral("usageStats.json 写入失败: "),
    [](std::int64_t step) { return UsageStats::encode(SuccessiveStates::statsAfter(step)); },
    [](const QString& path) -> std::unique_ptr<StoreUnderTest> { return std::make_unique<Stats>(path); },
};

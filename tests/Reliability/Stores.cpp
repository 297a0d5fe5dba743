#include "Stores.h"

#include "Platform/KeyStrokeMap.h"
#include "Keyboard/KeyBindingStore.h"
#include "Stats/UsageStatsStore.h"

#include <algorithm>

namespace {

constexpr std::int64_t keyCount = 47;
constexpr std::int64_t appCount = 20;

KeyBindingStore::StoredBinding bindingOf(std::int64_t step) {
    const QString n = QString::number(step);
    const QString folder = QStringLiteral("/opt/") + QString(240, u'p') + QStringLiteral("/app");
    return {KeyStrokeMap::layoutOrder()[int((step - 1) % keyCount)],
            {QStringLiteral("org.example.app") + n, folder + n, QStringLiteral("App ") + n}};
}

QByteArray bindingsAt(std::int64_t step) {
    KeyBindingStore::Bindings bindings;
    for (std::int64_t s = std::max<std::int64_t>(1, step - keyCount + 1); s <= step; ++s) {
        const KeyBindingStore::StoredBinding binding = bindingOf(s);
        bindings.insert(binding.key, binding.entry);
    }
    return KeyBindingStore::encode(bindings);
}

QString appOf(std::int64_t step) {
    return QStringLiteral("App %1").arg((step - 1) % appCount);
}

QByteArray statsAt(std::int64_t step) {
    UsageStats stats;
    stats.totalSuccess = step;
    for (std::int64_t s = 1; s <= std::min(step, appCount); ++s)
        stats.perApp[QStringLiteral("org.example.") + appOf(s)] = {appOf(s), (step - s) / appCount + 1};
    return UsageStats::encode(stats);
}

/// The highest number that follows `prefix` in the bytes; 0 for none.
std::int64_t highest(const QByteArray& bytes, const QByteArray& prefix) {
    std::int64_t found = 0;
    for (qsizetype at = bytes.indexOf(prefix); at >= 0; at = bytes.indexOf(prefix, at + 1)) {
        qsizetype end = at + prefix.size();
        while (end < bytes.size() && bytes[end] >= '0' && bytes[end] <= '9')
            ++end;
        found = std::max<std::int64_t>(found,
                                       bytes.mid(at + prefix.size(), end - at - prefix.size()).toLongLong());
    }
    return found;
}

std::int64_t latestStep(const StoreKind& kind, const QByteArray& bytes) {
    return &kind == &bindingsStore ? highest(bytes, "\"name\":\"App ") : highest(bytes, "{\"totalSuccess\":");
}

class Bindings final : public StoreUnderTest {
public:
    explicit Bindings(const QString& path) : store_(path) {
        store_.load();
        step_ = latestStep(bindingsStore, memory());
    }
    void change() override {
        const KeyBindingStore::StoredBinding binding = bindingOf(++step_);
        store_.bind(binding.key, binding.entry);
    }
    QByteArray memory() const override { return KeyBindingStore::encode(store_.bindings()); }

private:
    KeyBindingStore store_;
    std::int64_t step_ = 0;
};

class Stats final : public StoreUnderTest {
public:
    explicit Stats(const QString& path) : store_(path) {}
    void change() override {
        const QString app = appOf(store_.stats().totalSuccess + 1);
        store_.recordSuccess(app, QStringLiteral("org.example.") + app);
    }
    QByteArray memory() const override { return UsageStats::encode(store_.stats()); }

private:
    UsageStatsStore store_;
};

} // namespace

std::optional<std::int64_t> StoreKind::stepOf(const QByteArray& bytes) const {
    const std::int64_t step = latestStep(*this, bytes);
    if (step == 0 || fileAt(step) != bytes) return std::nullopt;
    return step;
}

const StoreKind bindingsStore{
    "Bindings",
    "keyBindings.json",
    QStringLiteral("keyBindings.json 写入失败: "),
    bindingsAt,
    [](const QString& path) -> std::unique_ptr<StoreUnderTest> { return std::make_unique<Bindings>(path); },
};

const StoreKind statsStore{
    "Stats",
    "usageStats.json",
    QStringLiteral("usageStats.json 写入失败: "),
    statsAt,
    [](const QString& path) -> std::unique_ptr<StoreUnderTest> { return std::make_unique<Stats>(path); },
};

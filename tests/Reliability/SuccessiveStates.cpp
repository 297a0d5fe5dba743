#include "SuccessiveStates.h"

#include "Platform/KeyStrokeMap.h"
#include "Keyboard/BindingsFileReader.h"

#include <algorithm>

namespace SuccessiveStates {
namespace {

constexpr std::int64_t keyCount = 47;
constexpr std::int64_t appCount = 20;
const QString namePrefix = QStringLiteral("App ");

} // namespace

KeyBindingStore::StoredBinding bindingOf(std::int64_t step) {
    const QString number = QString::number(step);
    // About 300 bytes per binding: a full file is several pages and several write calls long.
    const QString folder = QStringLiteral("/opt/") + QString(240, u'p') + QStringLiteral("/app");
    return {KeyStrokeMap::layoutOrder()[int((step - 1) % keyCount)],
            {QStringLiteral("org.example.app") + number, folder + number, namePrefix + number}};
}

KeyBindingStore::Bindings bindingsAfter(std::int64_t step) {
    KeyBindingStore::Bindings bindings;
    for (std::int64_t s = std::max<std::int64_t>(1, step - keyCount + 1); s <= step; ++s) {
        const KeyBindingStore::StoredBinding binding = bindingOf(s);
        bindings.insert(binding.key, binding.entry);
    }
    return bindings;
}

std::int64_t stepOf(const KeyBindingStore::Bindings& bindings) {
    std::int64_t step = 0;
    for (const AppEntry& entry : bindings) {
        if (entry.name.startsWith(namePrefix))
            step = std::max<std::int64_t>(step, entry.name.mid(namePrefix.size()).toLongLong());
    }
    return step;
}

Jump jumpOf(std::int64_t step) {
    const QString number = QString::number((step - 1) % appCount);
    return {namePrefix + number, QStringLiteral("org.example.app") + number};
}

UsageStats statsAfter(std::int64_t step) {
    UsageStats stats;
    stats.totalSuccess = step;
    for (std::int64_t app = 0; app < std::min(step, appCount); ++app) {
        const Jump jump = jumpOf(app + 1);
        stats.perApp[jump.bundleId] = {jump.name, step / appCount + (app < step % appCount ? 1 : 0)};
    }
    return stats;
}

std::optional<std::int64_t> bindingsFileStep(const QByteArray& bytes) {
    const BindingsFileReader::Result parsed = BindingsFileReader::parse(bytes);
    if (parsed.error) return std::nullopt;
    KeyBindingStore::Bindings bindings;
    const QStringList& order = KeyStrokeMap::layoutOrder();
    for (int rank = 0; rank < 47; ++rank) {
        if (parsed.document.has(rank))
            bindings.insert(order[rank], parsed.document.byRank[size_t(rank)].toEntry());
    }
    const std::int64_t step = stepOf(bindings);
    if (step == 0 || KeyBindingStore::encode(bindingsAfter(step)) != bytes) return std::nullopt;
    return step;
}

std::optional<std::int64_t> statsFileStep(const QByteArray& bytes) {
    const std::optional<UsageStats> stats = UsageStats::decode(bytes);
    if (!stats || stats->totalSuccess == 0 || UsageStats::encode(statsAfter(stats->totalSuccess)) != bytes)
        return std::nullopt;
    return stats->totalSuccess;
}

} // namespace SuccessiveStates

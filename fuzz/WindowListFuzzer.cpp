// The window-list conversion: entries built from fuzz bytes in the shape the window list
// answers (number, pid, layer, alpha, bounds, names), with any value replaced by one of
// another kind, go through the macOS window server. Every window kept must be one the rules
// allow, with the values its entry gave.
#include "FuzzCheck.h"
#include "VariantBuilder.h"

#include "FakeMacSystem.h"

#include "Platform/MacOS/MacWindowServer.h"
#include "Platform/MacOS/PlistNumber.h"
#include "Platform/MacOS/WindowListKey.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {

class WindowListBuilder {
public:
    explicit WindowListBuilder(FuzzedDataProvider& data)
        : data_(data),
          any_(data, {WindowListKey::number, WindowListKey::ownerPID, WindowListKey::ownerName,
                      WindowListKey::name, WindowListKey::bounds, WindowListKey::layer, WindowListKey::alpha,
                      WindowListKey::isOnscreen, WindowListKey::boundsX, WindowListKey::boundsY,
                      WindowListKey::boundsWidth, WindowListKey::boundsHeight}) {}

    QVariantList windows() {
        QVariantList list;
        const int count = data_.ConsumeIntegralInRange<int>(0, 8);
        for (int i = 0; i < count && data_.remaining_bytes() > 0; ++i)
            list.append(data_.ConsumeIntegralInRange<int>(0, 31) == 0 ? any_.value(2) : QVariant(window()));
        return list;
    }

private:
    bool odd() { return data_.ConsumeIntegralInRange<int>(0, 7) == 0; }

    // Usually a value of the expected kind, sometimes anything.
    void put(QVariantMap& map, const QString& key, const QVariant& usual) {
        if (data_.ConsumeIntegralInRange<int>(0, 15) == 0) return;
        map.insert(key, odd() ? any_.value(1) : usual);
    }

    QVariantMap window() {
        QVariantMap map;
        put(map, WindowListKey::number, QVariant::fromValue(data_.ConsumeIntegral<std::uint32_t>()));
        put(map, WindowListKey::ownerPID, QVariant::fromValue(data_.ConsumeIntegral<std::int32_t>()));
        put(map, WindowListKey::layer, data_.ConsumeIntegralInRange<int>(-1, 2));
        put(map, WindowListKey::alpha, data_.ConsumeProbability<double>());
        put(map, WindowListKey::isOnscreen, data_.ConsumeBool());
        put(map, WindowListKey::ownerName, any_.text());
        put(map, WindowListKey::name, any_.text());
        QVariantMap bounds;
        for (const QString& key : {WindowListKey::boundsX, WindowListKey::boundsY, WindowListKey::boundsWidth,
                                   WindowListKey::boundsHeight})
            put(bounds, key, any_.number());
        put(map, WindowListKey::bounds, bounds);
        return map;
    }

    FuzzedDataProvider& data_;
    VariantBuilder any_;
};

bool sameNumber(const std::optional<double>& listed, double kept) {
    return listed && (*listed == kept || (std::isnan(*listed) && std::isnan(kept)));
}

std::optional<QString> textOf(const QVariant& value) {
    return value.typeId() == QMetaType::QString ? std::optional(value.toString()) : std::nullopt;
}

// The rules a kept window passes, restated from the entry it came from.
bool allowed(const QVariantMap& entry, const WindowInfo& window) {
    const QVariantMap bounds = entry.value(WindowListKey::bounds).toMap();
    return PlistNumber::integerValue<int>(entry.value(WindowListKey::layer)) == window.layer &&
           sameNumber(PlistNumber::doubleValue(entry.value(WindowListKey::alpha)), window.opacity) &&
           PlistNumber::integerValue<std::uint32_t>(entry.value(WindowListKey::number)) == window.number &&
           PlistNumber::integerValue<std::int32_t>(entry.value(WindowListKey::ownerPID)) == window.pid &&
           entry.value(WindowListKey::bounds).typeId() == QMetaType::QVariantMap &&
           sameNumber(PlistNumber::doubleValue(bounds.value(WindowListKey::boundsX)), window.bounds.x()) &&
           sameNumber(PlistNumber::doubleValue(bounds.value(WindowListKey::boundsHeight)),
                      window.bounds.height()) &&
           textOf(entry.value(WindowListKey::ownerName)) == window.ownerName &&
           textOf(entry.value(WindowListKey::name)) == window.title && !window.isMinimized;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    FakeMacSystem system;
    const QVariantList list = WindowListBuilder(provider).windows();
    system.windowList = list;

    const std::optional<std::vector<WindowInfo>> windows = MacWindowServer(system).windows();
    bool allDictionaries = true;
    for (const QVariant& entry : list)
        allDictionaries = allDictionaries && entry.typeId() == QMetaType::QVariantMap;
    FUZZ_CHECK(windows.has_value() == allDictionaries);
    if (!windows) return 0;
    FUZZ_CHECK(windows->size() <= std::size_t(list.size()));
    // Kept windows keep the list's order: match each against the remaining entries.
    qsizetype next = 0;
    for (const WindowInfo& window : *windows) {
        while (next < list.size() && !allowed(list[next].toMap(), window))
            ++next;
        FUZZ_CHECK(next < list.size());
        ++next;
    }
    return 0;
}

// The managed-display Space list, built from fuzz bytes in the shape the window server
// answers (displays, their current Space and their Spaces), with any part of it replaced by a
// value of another kind. It goes through SkyLightAPI as a real answer would, then SpaceCatalog.
#include "FuzzCheck.h"
#include "VariantBuilder.h"

#include "Inventory/SkyLightAPI.h"
#include "Inventory/SpaceCatalog.h"
#include "Platform/Fake/FakePlatform.h"

#include <cstddef>
#include <cstdint>

namespace {

const QString displayIdentifier = QStringLiteral("Display Identifier");
const QString currentSpace = QStringLiteral("Current Space");
const QString spaces = QStringLiteral("Spaces");
const QString id64 = QStringLiteral("id64");
const QString type = QStringLiteral("type");

class SpaceListBuilder {
public:
    explicit SpaceListBuilder(FuzzedDataProvider& data)
        : data_(data), any_(data, {displayIdentifier, currentSpace, spaces, id64, type}) {}

    QVariantList displays() {
        QVariantList list;
        const int count = data_.ConsumeIntegralInRange<int>(0, 4);
        for (int i = 0; i < count && data_.remaining_bytes() > 0; ++i)
            list.append(odd() ? any_.value(2) : QVariant(display()));
        return list;
    }

private:
    bool odd() { return data_.ConsumeIntegralInRange<int>(0, 7) == 0; }

    QVariantMap display() {
        QVariantMap map = odd() ? any_.map(1) : QVariantMap();
        if (data_.ConsumeBool()) map.insert(displayIdentifier, odd() ? any_.value(1) : QVariant(any_.text()));
        if (data_.ConsumeBool()) map.insert(currentSpace, odd() ? any_.value(1) : QVariant(space()));
        if (data_.ConsumeBool()) {
            QVariantList list;
            const int count = data_.ConsumeIntegralInRange<int>(0, 6);
            for (int i = 0; i < count && data_.remaining_bytes() > 0; ++i)
                list.append(odd() ? any_.value(1) : QVariant(space()));
            map.insert(spaces, odd() ? any_.value(1) : QVariant(list));
        }
        return map;
    }

    QVariantMap space() {
        QVariantMap map;
        if (data_.ConsumeBool())
            map.insert(id64, odd() ? any_.value(1) : QVariant::fromValue(data_.ConsumeIntegralInRange<qulonglong>(0, 40)));
        if (data_.ConsumeBool())
            map.insert(type, odd() ? any_.value(1) : QVariant(data_.ConsumeIntegralInRange<int>(0, 5)));
        return map;
    }

    FuzzedDataProvider& data_;
    VariantBuilder any_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    ScopedFakePlatform platform;
    platform->desktop.managedDisplaySpacesOverride = SpaceListBuilder(provider).displays();
    VariantBuilder any(provider, {});
    const QVariantList windowAnswer = any.list(2);
    platform->desktop.spacesForWindowOverride[7] = windowAnswer;

    const std::optional<SkyLightAPI> api = SkyLightAPI::load();
    FUZZ_CHECK(api.has_value());
    const std::optional<QList<QVariantMap>> displays = api->managedDisplaySpaces();
    FUZZ_CHECK(displays.has_value());
    const SpaceCatalog catalog = SpaceCatalog::parse(*displays);

    for (const auto& [space, display] : catalog.displayBySpace)
        FUZZ_CHECK(catalog.label(space).has_value());
    for (const auto& [display, ids] : catalog.desktopsByDisplay) {
        for (const std::uint64_t id : ids) {
            FUZZ_CHECK(catalog.displayIdentifier(id).has_value());
            FUZZ_CHECK(catalog.label(id).has_value());
        }
    }

    const std::optional<std::vector<std::uint64_t>> ids = api->spaceIDs({7});
    FUZZ_CHECK(ids && ids->size() <= std::size_t(windowAnswer.size()));
    return 0;
}

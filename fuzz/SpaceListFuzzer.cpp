// The managed-display Space list, built from fuzz bytes in the shape the window server
// answers (displays, their current Space and their Spaces), with any part of it replaced by a
// value of another kind. It goes through SkyLightAPI as a real answer would, then SpaceCatalog,
// and through the window-server port that serves both.
#include "FuzzCheck.h"
#include "VariantBuilder.h"

#include "FakeMacSystem.h"

#include "Platform/MacOS/MacWindowServer.h"
#include "Platform/MacOS/SkyLightAPI.h"
#include "Platform/MacOS/SpaceCatalog.h"

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
            map.insert(id64, odd() ? any_.value(1)
                                   : QVariant::fromValue(data_.ConsumeIntegralInRange<qulonglong>(0, 40)));
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
    FakeMacSystem system;
    system.managedDisplaysOverride = SpaceListBuilder(provider).displays();
    VariantBuilder any(provider, {});
    const QVariantList windowAnswer = any.list(2);
    system.spacesOfWindow[7] = windowAnswer;

    const std::optional<SkyLightAPI> api = SkyLightAPI::load(system);
    FUZZ_CHECK(api.has_value());
    const std::optional<QList<QVariantMap>> list = api->managedDisplaySpaces();
    FUZZ_CHECK(list.has_value());
    const std::vector<DisplaySpaces> displays = SpaceCatalog::parse(*list);
    FUZZ_CHECK(displays.size() == std::size_t(list->size()));

    for (const DisplaySpaces& display : displays) {
        // A current Space is only ever known by its display.
        FUZZ_CHECK(display.displayIdentifier || !display.currentSpace);
        if (!display.displayIdentifier) continue;
        const QString& identifier = *display.displayIdentifier;
        // The look-ups agree with the parsed lists: every desktop of every entry for the display.
        std::size_t desktops = 0;
        for (const DisplaySpaces& same : displays)
            if (same.displayIdentifier == identifier)
                for (const SpaceInfo& space : same.spaces)
                    desktops += space.kind == SpaceKind::desktop ? 1 : 0;
        FUZZ_CHECK(SpaceCatalog::desktops(displays, identifier).size() == desktops);
        FUZZ_CHECK(SpaceCatalog::currentSpace(displays, identifier).has_value() ||
                   !display.currentSpace.has_value());
    }

    MacWindowServer server(system);
    FUZZ_CHECK(server.spaces() == displays);
    const std::optional<std::vector<std::uint64_t>> ids = api->spaceIDs({7});
    FUZZ_CHECK(ids && ids->size() <= std::size_t(windowAnswer.size()));
    const auto spaceOfWindow = server.spacesOfWindows({7});
    FUZZ_CHECK(spaceOfWindow && spaceOfWindow->size() == (ids->empty() ? 0u : 1u));
    FUZZ_CHECK(ids->empty() || spaceOfWindow->at(7) == ids->front());
    return 0;
}

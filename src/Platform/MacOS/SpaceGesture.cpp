#include "SpaceGesture.h"

#include "Platform/MacOS/MacSystem.h"
#include "Platform/MacOS/SkyLightAPI.h"
#include "Platform/MacOS/SpaceCatalog.h"
#include "Platform/TimePort.h"

#include <algorithm>

namespace SpaceGesture {

namespace {

// Fields of a synthetic dock-swipe gesture event.
namespace Field {
constexpr int eventType = 55;
constexpr int gestureKind = 110;
constexpr int swipeMotion = 123;
constexpr int swipeProgress = 124;
constexpr int swipeVelocityX = 129;
constexpr int gesturePhase = 132;
} // namespace Field

constexpr std::int64_t dockControlType = 30;
constexpr std::int64_t dockSwipeKind = 23;
constexpr std::int64_t horizontalMotion = 1;
constexpr std::int64_t phaseBegan = 1;
constexpr std::int64_t phaseEnded = 4;
constexpr double swipeVelocity = 9999.0;

// One began/ended pair; +1.0 moves to the next desktop in the display's order, -1.0 back.
bool swipe(MacSystem& system, double direction) {
    SyntheticEvent event;
    event.fields = {{Field::eventType, dockControlType},
                    {Field::gestureKind, dockSwipeKind},
                    {Field::swipeMotion, horizontalMotion},
                    {Field::swipeProgress, direction},
                    {Field::swipeVelocityX, direction * swipeVelocity},
                    {Field::gesturePhase, phaseBegan}};
    if (!system.postEvent(event)) return false;
    event.fields.back().value = phaseEnded;
    return system.postEvent(event);
}

std::optional<QPointF> displayCenter(MacSystem& system, const QString& displayUUID) {
    const auto active = system.activeDisplayList();
    if (!active || active->empty()) return std::nullopt;
    for (const std::uint32_t display : *active) {
        const auto uuid = system.displayUUIDString(display);
        if (uuid && *uuid == displayUUID) return system.displayBounds(display).center();
    }
    return std::nullopt;
}

std::optional<std::vector<std::uint64_t>> desktopIDs(const SkyLightAPI& api, const QString& displayUUID) {
    const auto list = api.managedDisplaySpaces();
    if (!list) return std::nullopt;
    return SpaceCatalog::desktops(SpaceCatalog::parse(*list), displayUUID);
}

std::optional<std::ptrdiff_t> position(const std::vector<std::uint64_t>& desktops, std::uint64_t space) {
    const auto found = std::find(desktops.begin(), desktops.end(), space);
    if (found == desktops.end()) return std::nullopt;
    return found - desktops.begin();
}

// The swipe loop proper; the caller has moved the pointer and puts it back.
bool swipeUntilCurrent(MacSystem& system, TimePort& time, const SkyLightAPI& api, std::uint64_t spaceID,
                       const QString& displayUUID) {
    for (int pass = 0; pass < maxSwipes; ++pass) {
        const auto current = currentSpace(api, displayUUID);
        if (!current) return false;
        if (*current == spaceID) return true;

        const auto desktops = desktopIDs(api, displayUUID);
        if (!desktops || desktops->empty()) return false;
        // A full-screen Space is not among the desktops: no number of swipes reaches it.
        const auto from = position(*desktops, *current);
        const auto to = position(*desktops, spaceID);
        if (!from || !to) return false;
        if (!swipe(system, *from < *to ? 1.0 : -1.0)) return false;

        // Positions are recomputed on the next pass, so a swipe that went nowhere or the
        // wrong way is simply corrected there.
        auto now = currentSpace(api, displayUUID);
        for (int poll = 0; poll < pollsPerSwipe && now && *now == *current; ++poll) {
            time.sleep(pollInterval);
            now = currentSpace(api, displayUUID);
        }
    }
    return currentSpace(api, displayUUID) == spaceID;
}

} // namespace

std::optional<std::uint64_t> currentSpace(const SkyLightAPI& api, const QString& displayUUID) {
    const auto list = api.managedDisplaySpaces();
    if (!list) return std::nullopt;
    return SpaceCatalog::currentSpace(SpaceCatalog::parse(*list), displayUUID);
}

bool switchTo(MacSystem& system, TimePort& time, std::uint64_t spaceID, const QString& displayUUID) {
    const auto api = SkyLightAPI::load(system);
    if (!api) return false;
    if (currentSpace(*api, displayUUID) == spaceID) return true;

    const auto center = displayCenter(system, displayUUID);
    if (!center) return false;

    const auto savedPointer = system.pointerLocation();
    system.warpPointer(*center);
    time.sleep(settleTime);

    const bool switched = swipeUntilCurrent(system, time, *api, spaceID, displayUUID);
    if (savedPointer) system.warpPointer(*savedPointer);
    return switched;
}

} // namespace SpaceGesture

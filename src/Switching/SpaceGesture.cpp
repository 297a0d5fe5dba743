#include "SpaceGesture.h"

#include "Inventory/SkyLightAPI.h"
#include "Inventory/SpaceCatalog.h"
#include "Platform/DisplayPort.h"
#include "Platform/EventTapPort.h"
#include "Platform/Platform.h"
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
bool swipe(double direction) {
    SyntheticEvent event;
    event.integerFields = {{Field::eventType, dockControlType},
                           {Field::gestureKind, dockSwipeKind},
                           {Field::swipeMotion, horizontalMotion},
                           {Field::gesturePhase, phaseBegan}};
    event.doubleFields = {{Field::swipeProgress, direction},
                          {Field::swipeVelocityX, direction * swipeVelocity}};
    EventTapPort& events = Platform::current().eventTap();
    if (!events.postEvent(event)) return false;
    event.integerFields.back().second = phaseEnded;
    return events.postEvent(event);
}

std::optional<QPointF> displayCenter(const QString& displayUUID) {
    DisplayPort& displays = Platform::current().displays();
    const auto active = displays.activeDisplayList();
    if (!active || active->empty()) return std::nullopt;
    for (const std::uint32_t display : *active) {
        const auto uuid = displays.displayUUIDString(display);
        if (uuid && *uuid == displayUUID) return displays.displayBounds(display).center();
    }
    return std::nullopt;
}

std::optional<std::vector<std::uint64_t>> desktopIDs(const QString& displayUUID, const SkyLightAPI& api) {
    const auto list = api.managedDisplaySpaces();
    if (!list) return std::nullopt;
    return SpaceCatalog::parse(*list).desktopIDs(displayUUID);
}

std::optional<std::ptrdiff_t> position(const std::vector<std::uint64_t>& desktops, std::uint64_t space) {
    const auto found = std::find(desktops.begin(), desktops.end(), space);
    if (found == desktops.end()) return std::nullopt;
    return found - desktops.begin();
}

// The swipe loop proper; the caller has moved the pointer and puts it back.
bool swipeUntilCurrent(std::uint64_t spaceID, const QString& displayUUID, const SkyLightAPI& api) {
    TimePort& time = Platform::current().time();
    for (int pass = 0; pass < maxSwipes; ++pass) {
        const auto current = currentSpace(displayUUID, api);
        if (!current) return false;
        if (*current == spaceID) return true;

        const auto desktops = desktopIDs(displayUUID, api);
        if (!desktops || desktops->empty()) return false;
        // A full-screen Space is not among the desktops: no number of swipes reaches it.
        const auto from = position(*desktops, *current);
        const auto to = position(*desktops, spaceID);
        if (!from || !to) return false;
        if (!swipe(*from < *to ? 1.0 : -1.0)) return false;

        // Positions are recomputed on the next pass, so a swipe that went nowhere or the
        // wrong way is simply corrected there.
        auto now = currentSpace(displayUUID, api);
        for (int poll = 0; poll < pollsPerSwipe && now && *now == *current; ++poll) {
            time.sleep(pollInterval);
            now = currentSpace(displayUUID, api);
        }
    }
    return currentSpace(displayUUID, api) == spaceID;
}

} // namespace

std::optional<std::uint64_t> currentSpace(const QString& displayUUID, const SkyLightAPI& api) {
    const auto list = api.managedDisplaySpaces();
    if (!list) return std::nullopt;
    return SpaceCatalog::parse(*list).currentSpaceID(displayUUID);
}

bool switchTo(std::uint64_t spaceID, const QString& displayUUID) {
    const auto api = SkyLightAPI::load();
    if (!api) return false;
    if (currentSpace(displayUUID, *api) == spaceID) return true;

    const auto center = displayCenter(displayUUID);
    if (!center) return false;

    Platform& platform = Platform::current();
    EventTapPort& events = platform.eventTap();
    const auto savedPointer = events.pointerLocation();
    events.warpPointer(*center);
    platform.time().sleep(settleTime);

    const bool switched = swipeUntilCurrent(spaceID, displayUUID, *api);
    if (savedPointer) events.warpPointer(*savedPointer);
    return switched;
}

} // namespace SpaceGesture

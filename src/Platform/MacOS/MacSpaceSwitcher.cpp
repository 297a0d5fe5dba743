#include "MacSpaceSwitcher.h"

#include "Platform/MacOS/SkyLightAPI.h"
#include "Platform/MacOS/SpaceGesture.h"

bool MacSpaceSwitcher::makeCurrent(std::uint64_t space, const QString& displayIdentifier) {
    if (!SpaceGesture::switchTo(system_, time_, space, displayIdentifier)) return false;
    // The gesture's own answer is not trusted alone: the Space list must say so too.
    const auto api = SkyLightAPI::load(system_);
    if (!api) return false;
    return SpaceGesture::currentSpace(*api, displayIdentifier) == space;
}

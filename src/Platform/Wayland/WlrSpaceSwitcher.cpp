#include "WlrSpaceSwitcher.h"

#include "WlrWindowServer.h"

bool WlrSpaceSwitcher::makeCurrent(std::uint64_t space, const QString& displayIdentifier) {
    const auto now = toplevels_.current();
    if (!now) return false;
    for (const DisplaySpaces& display : WlrWindowServer::spacesOf(*now))
        if (display.displayIdentifier == displayIdentifier) return display.currentSpace == space;
    return false;
}

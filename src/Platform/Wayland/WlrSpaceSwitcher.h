#pragma once

#include "Platform/SpaceSwitcherPort.h"

class WlrToplevels;

/// Each output of a wlroots compositor is one Space, always shown (WlrWindowServer): there is
/// nothing to switch, and the answer says whether the Space is that display's one.
class WlrSpaceSwitcher final : public SpaceSwitcherPort {
public:
    explicit WlrSpaceSwitcher(WlrToplevels& toplevels) : toplevels_(toplevels) {}

    bool makeCurrent(std::uint64_t space, const QString& displayIdentifier) override;

private:
    WlrToplevels& toplevels_;
};

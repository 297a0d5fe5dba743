#pragma once

#include <QString>

#include <cstdint>

/// Changes which Space (virtual desktop) a display shows.
class SpaceSwitcherPort {
public:
    virtual ~SpaceSwitcherPort() = default;

    /// Makes `space` current on the display with that identifier, and waits until the window
    /// server says so or gives up; true when the Space is current on that display at the end.
    virtual bool makeCurrent(std::uint64_t space, const QString& displayIdentifier) = 0;
};

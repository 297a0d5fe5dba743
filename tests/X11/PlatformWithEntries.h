#pragma once

#include "Platform/Fake/FakePlatform.h"
#include "Platform/X11/X11Bundles.h"

/// The fake desktop with real desktop entries in place of its bundles.
class PlatformWithEntries final : public Platform {
public:
    TimePort& time() override { return fake.time(); }
    WindowListPort& windowList() override { return fake.windowList(); }
    DisplayPort& displays() override { return fake.displays(); }
    SkyLightPort& skyLight() override { return fake.skyLight(); }
    AccessibilityPort& accessibility() override { return fake.accessibility(); }
    EventTapPort& eventTap() override { return fake.eventTap(); }
    BundlePort& bundles() override { return entries; }
    WorkspacePort& workspace() override { return fake.workspace(); }
    UpdaterPort& updater() override { return fake.updater(); }

    FakePlatform fake;
    X11Bundles entries;
};

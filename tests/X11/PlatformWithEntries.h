#pragma once

#include "Platform/Fake/FakePlatform.h"
#include "Platform/X11/X11Bundles.h"

/// The fake desktop with real desktop entries in place of its bundles.
class PlatformWithEntries final : public Platform {
public:
    TimePort& time() override { return fake.time(); }
    WindowServerPort& windowServer() override { return fake.windowServer(); }
    SpaceSwitcherPort& spaceSwitcher() override { return fake.spaceSwitcher(); }
    WindowOperationsPort& windowOperations() override { return fake.windowOperations(); }
    KeyboardTapPort& keyboardTap() override { return fake.keyboardTap(); }
    BundlePort& bundles() override { return entries; }
    WorkspacePort& workspace() override { return fake.workspace(); }
    UpdaterPort& updater() override { return fake.updater(); }
    const PlatformWords& words() override { return fake.words(); }

    FakePlatform fake;
    X11Bundles entries;
};

#pragma once

#include "Platform/MacOS/MacWords.h"
#include "Platform/Fake/FakeBundles.h"
#include "Platform/Fake/FakeDesktop.h"
#include "Platform/Fake/FakeKeyboardTap.h"
#include "Platform/Fake/FakeTime.h"
#include "Platform/Fake/FakeUpdater.h"
#include "Platform/Fake/FakeWindowServer.h"
#include "Platform/Fake/FakeWorkspace.h"
#include "Platform/Platform.h"
#include "Platform/PlatformWords.h"

/// An in-memory desktop for tests: deterministic, and no real time is spent.
class FakePlatform final : public Platform {
public:
    TimePort& time() override { return fakeTime; }
    WindowServerPort& windowServer() override { return server; }
    SpaceSwitcherPort& spaceSwitcher() override { return server; }
    WindowOperationsPort& windowOperations() override { return server; }
    KeyboardTapPort& keyboardTap() override { return tapPort; }
    BundlePort& bundles() override { return fakeBundles; }
    WorkspacePort& workspace() override { return workspacePort; }
    UpdaterPort& updater() override { return fakeUpdater; }
    const PlatformWords& words() override { return platformWords; }

    FakeTime fakeTime;
    FakeDesktop desktop{fakeTime};
    FakeWindowServer server{desktop};
    FakeWorkspace workspacePort{desktop};
    FakeKeyboardTap tapPort{desktop};
    FakeBundles fakeBundles;
    FakeUpdater fakeUpdater;
    /// A Mac's words by default; tests of another desktop's words replace them.
    PlatformWords platformWords = MacWords::words();
};

/// Installs a FakePlatform for the lifetime of the object (one test).
class ScopedFakePlatform {
public:
    ScopedFakePlatform() { Platform::install(&platform); }
    ~ScopedFakePlatform() { Platform::install(nullptr); }
    ScopedFakePlatform(const ScopedFakePlatform&) = delete;
    ScopedFakePlatform& operator=(const ScopedFakePlatform&) = delete;

    FakePlatform* operator->() { return &platform; }
    FakePlatform platform;
};

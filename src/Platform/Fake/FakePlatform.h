#pragma once

#include "Platform/Fake/FakeAccessibility.h"
#include "Platform/Fake/FakeBundles.h"
#include "Platform/Fake/FakeDesktop.h"
#include "Platform/Fake/FakeEventInput.h"
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
    WindowListPort& windowList() override { return windowServer; }
    DisplayPort& displays() override { return windowServer; }
    SkyLightPort& skyLight() override { return windowServer; }
    AccessibilityPort& accessibility() override {
        return accessibilityOverride ? *accessibilityOverride : accessibilityPort;
    }
    EventTapPort& eventTap() override { return eventInput; }
    BundlePort& bundles() override { return fakeBundles; }
    WorkspacePort& workspace() override { return workspacePort; }
    UpdaterPort& updater() override { return fakeUpdater; }
    const PlatformWords& words() override { return platformWords; }

    FakeTime fakeTime;
    FakeDesktop desktop{fakeTime};
    FakeWindowServer windowServer{desktop};
    FakeAccessibility accessibilityPort{desktop};
    /// Answers Accessibility instead of the desktop, for tests of odd answers.
    AccessibilityPort* accessibilityOverride = nullptr;
    FakeWorkspace workspacePort{desktop};
    FakeEventInput eventInput{desktop};
    FakeBundles fakeBundles;
    FakeUpdater fakeUpdater;
    /// A Mac's words by default; tests of another desktop's words replace them.
    PlatformWords platformWords = PlatformWords::macOS();
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

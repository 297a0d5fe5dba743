#pragma once

#include "Platform/Platform.h"
#include "Platform/Fake/FakeTime.h"

/// An in-memory desktop for tests: deterministic, and no real time is spent.
class FakePlatform final : public Platform {
public:
    TimePort& time() override { return fakeTime; }

    FakeTime fakeTime;
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

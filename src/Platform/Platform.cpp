#include "Platform.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace {
std::atomic<Platform*> installed{nullptr};
}

Platform& Platform::current() {
    Platform* platform = installed.load(std::memory_order_acquire);
    if (platform == nullptr) {
        std::fputs("Kestavon: no platform installed\n", stderr);
        std::abort();
    }
    return *platform;
}

bool Platform::isInstalled() { return installed.load(std::memory_order_acquire) != nullptr; }

void Platform::install(Platform* platform) { installed.store(platform, std::memory_order_release); }

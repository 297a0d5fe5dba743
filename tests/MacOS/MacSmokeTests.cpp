// The macOS backend against the real system, on a machine that granted Kestavon nothing: what
// must hold there without any permission.
#include "Platform/MacOS/MacKeyboardTap.h"
#include "Platform/MacOS/MacSystemCalls.h"
#include "Platform/MacOS/MacWorkspace.h"
#include "Platform/MacOS/SkyLightAPI.h"

#include <gtest/gtest.h>

#include <unistd.h>

TEST(MacSmoke, TheKeyboardTapIsRefusedWithoutPermission) {
    MacSystemCalls system;
    if (system.isProcessTrusted()) GTEST_SKIP() << "this machine trusts the test program";
    MacKeyboardTap keyboard;
    const TapOpening opening = keyboard.createKeyboardTap([](std::uint32_t, const TapEvent&) { return false; });
    EXPECT_EQ(opening.tap, nullptr);
    EXPECT_EQ(opening.failure, TapFailure::notPermitted);
}

TEST(MacSmoke, ThePrivateFrameworkOpensAndItsFunctionsAreFound) {
    MacSystemCalls system;
    const auto api = SkyLightAPI::load(system);
    ASSERT_TRUE(api.has_value()) << SkyLightAPI::frameworkPath;
    EXPECT_NE(api->defaultConnection(), 0);
    EXPECT_TRUE(api->managedDisplaySpaces().has_value());
}

TEST(MacSmoke, TheCurrentApplicationIsFoundAndTheWindowListReads) {
    MacWorkspace workspace;
    const auto self = workspace.runningApplication(static_cast<std::int32_t>(getpid()));
    ASSERT_TRUE(self.has_value());
    EXPECT_EQ(self->processIdentifier, getpid());
    MacSystemCalls system;
    EXPECT_TRUE(system.copyWindowInfo(16, 0).has_value());
    EXPECT_FALSE(system.activeDisplayList().value_or(std::vector<std::uint32_t>{}).empty());
}

#include "Hotkey/HotkeyRouter.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace HotkeyRouter;

TEST(HotkeyRouter, RunningAppsArePresentedInstalledOnesLaunchedAndTheRestReported) {
    const QString folder = TestSupport::freshFolder();
    const QString present = folder + "/Present.desktop";
    TestSupport::writeAll(present, "[Desktop Entry]\n");
    const auto running = [](QStringList ids) { return [ids](const QString& id) { return ids.contains(id); }; };
    const AppEntry here{"com.example.b", present, "B"};
    const AppEntry gone{"com.example.b", folder + "/Gone.desktop", "B"};
    const AppTarget b{"B", QStringLiteral("com.example.b")};

    // Running: presented whether or not its path exists.
    EXPECT_EQ(route(here, running({"com.example.b"})), Route(PresentThenLaunch{b, here}));
    EXPECT_EQ(route(gone, running({"com.example.b"})), Route(PresentThenLaunch{b, gone}));
    EXPECT_EQ(route(here, running({"com.example.other"})), Route(Launch{here}));
    EXPECT_EQ(route(gone, running({})), Route(ReportMissing{gone}));
    // A folder counts as existing: an application bundle is one.
    const AppEntry bundle{"com.example.f", folder, "F"};
    EXPECT_EQ(route(bundle, running({})), Route(Launch{bundle}));
    EXPECT_EQ(route(std::nullopt, running({})), Route(Ignore{}));

    // An empty bundle identifier is never asked about nor treated as running.
    bool asked = false;
    const AppEntry noId{"", present, "NoId"};
    EXPECT_EQ(route(noId, [&](const QString&) { return asked = true; }), Route(Launch{noId}));
    EXPECT_FALSE(asked);
}

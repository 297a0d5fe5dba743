#include "Hotkey/HotkeyRouter.h"
#include "support/TestSupport.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace HotkeyRouter;

namespace {
struct RouterTest : ::testing::Test {
    QString folder = TestSupport::freshFolder();
    QString present = folder + "/Present.desktop";
    QString absent = folder + "/Gone.desktop";
    void SetUp() override { TestSupport::writeAll(present, "[Desktop Entry]\n"); }

    static auto running(QStringList ids) {
        return [ids](const QString& id) { return ids.contains(id); };
    }
};
} // namespace

TEST_F(RouterTest, RunningBundleIsPresentedWhetherOrNotItsPathExists) {
    for (const QString& path : {present, absent}) {
        const AppEntry entry{"com.example.b", path, "B"};
        EXPECT_EQ(route(entry, running({"com.example.b"})),
                  Route(PresentThenLaunch{AppTarget{"B", QStringLiteral("com.example.b")}, entry}));
    }
}

TEST_F(RouterTest, NotRunningIsLaunchedWhenThePathExistsElseReportedMissingAndNoEntryIgnored) {
    const AppEntry here{"com.example.b", present, "B"};
    const AppEntry gone{"com.example.b", absent, "B"};
    EXPECT_EQ(route(here, running({"com.example.other"})), Route(Launch{here}));
    EXPECT_EQ(route(gone, running({})), Route(ReportMissing{gone}));
    // A folder counts as existing: an application bundle is one.
    const AppEntry folderEntry{"com.example.f", folder, "F"};
    EXPECT_EQ(route(folderEntry, running({})), Route(Launch{folderEntry}));
    EXPECT_EQ(route(std::nullopt, running({})), Route(Ignore{}));
}

TEST_F(RouterTest, EmptyBundleIdentifierIsNeverAskedAboutOrTreatedAsRunning) {
    bool asked = false;
    const AppEntry entry{"", present, "NoId"};
    EXPECT_EQ(route(entry, [&](const QString&) { asked = true; return true; }), Route(Launch{entry}));
    EXPECT_FALSE(asked);
}

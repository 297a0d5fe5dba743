#include "FakeMacSystem.h"

#include "Platform/MacOS/BundleDictionary.h"
#include "Platform/MacOS/MacWindowOperations.h"

#include <gtest/gtest.h>

namespace {

const QRectF frameA(100, 100, 800, 600), frameB(40, 60, 500, 400);
constexpr std::int32_t pid = 42;

class WindowOperations : public testing::Test {
protected:
    FakeMacSystem system;
    MacWindowOperations operations{system};
    RestoreOutcome restore(QRectF frame) { return operations.restoreIfMinimized({1, pid, frame}); }
};

TEST_F(WindowOperations, FocusedWindowFrameFallsBackToTheMainWindow) {
    system.axWindows[pid] = {{frameA}, {frameB}};
    system.mainWindow[pid] = 1;
    EXPECT_EQ(operations.focusedWindowFrame(pid), frameB);
    system.focusedWindow[pid] = 0;
    EXPECT_EQ(operations.focusedWindowFrame(pid), frameA);
}

TEST_F(WindowOperations, OnlyTheFirstWindowWithinAPointIsExaminedAndOnlyAMinimisedOneWritten) {
    system.axWindows[pid] = {{frameB, true}, {frameA, false}, {frameA, true}};
    EXPECT_EQ(restore(frameA), RestoreOutcome::unchanged);
    EXPECT_EQ(system.minimizeWrites, 0);

    system.axWindows[pid] = {{frameB, true}, {frameA, true}};
    system.writesRefused = true;
    EXPECT_EQ(restore(frameA.translated(0.5, -1.0)), RestoreOutcome::failed);
    system.writesRefused = false;
    EXPECT_EQ(restore(frameA.translated(0.5, -1.0)), RestoreOutcome::restored);
    EXPECT_FALSE(system.axWindows[pid][1].minimized);
    EXPECT_TRUE(system.axWindows[pid][0].minimized);
    EXPECT_EQ(restore(frameA.translated(1.5, 0)), RestoreOutcome::unchanged);
}

TEST_F(WindowOperations, UntrustedOrOddAnswersFoldIntoNothing) {
    system.axWindows[pid] = {{frameA, true}};
    system.focusedWindow[pid] = 0;
    system.trusted = false;
    EXPECT_EQ(operations.focusedWindowFrame(pid), std::nullopt);
    EXPECT_EQ(restore(frameA), RestoreOutcome::unchanged);
    operations.promptForTrust();
    EXPECT_EQ(system.prompts, 1);

    system.trusted = true;
    for (const auto& [attribute, odd] : std::vector<std::pair<QString, QVariant>>{
             {"AXPosition", QPoint(100, 100)},
             {"AXSize", QVariant()},
             {"AXMinimized", 1},
             {"AXWindows", QVariantList{QVariant::fromValue(AXElement{pid, 1}), 5}}}) {
        SCOPED_TRACE(attribute.toStdString());
        system.oddAnswers = {{attribute, odd}};
        EXPECT_EQ(restore(frameA), RestoreOutcome::unchanged);
    }
    EXPECT_EQ(system.minimizeWrites, 0);
}

TEST(BundleDictionaries, NamesBestFirstAndTheAgentFlagOfAnyKind) {
    const QVariantMap info{
        {"CFBundleIdentifier", "com.example.notes"}, {"CFBundleName", "Notes"}, {"CFBundleDisplayName", ""}};
    const QVariantMap localized{{"CFBundleDisplayName", "Notizen"}, {"CFBundleName", "Notes"}};
    EXPECT_EQ(BundleDictionary::toBundleInfo(info, localized),
              (BundleInfo{"com.example.notes", {"Notizen", "Notes"}, false}));
    EXPECT_EQ(BundleDictionary::toBundleInfo({{"CFBundleIdentifier", 5}}, {}), BundleInfo{});
    const std::pair<QVariant, bool> flags[] = {{true, true},       {1, true},    {2u, true},
                                               {0.5, true},        {"1", true},  {"TRUE", true},
                                               {"YES", false},     {0.0, false}, {QVariantList{1}, false},
                                               {QVariant(), false}};
    for (const auto& [flag, agent] : flags) {
        SCOPED_TRACE(flag.toString().toStdString());
        EXPECT_EQ(BundleDictionary::toBundleInfo({{"LSUIElement", flag}}, {}).agentOnly, agent);
    }
}

} // namespace

#include "Switching/WindowAX.h"

#include "Platform/Fake/FakePlatform.h"

#include <QPointF>
#include <QSizeF>

#include <gtest/gtest.h>

namespace {

using WindowAX::RestoreOutcome;

const QRectF frameA(100, 100, 800, 600);
const QRectF frameB(40, 60, 500, 400);

class WindowAXTest : public testing::Test {
protected:
    void SetUp() override { WindowAX::trustPromptLatch = false; }

    ScopedFakePlatform fake;
    FakeDesktop& desktop = fake->desktop;
    const std::int32_t pid = desktop.addApp(QStringLiteral("Editor"), QStringLiteral("com.example.editor"));
};

TEST_F(WindowAXTest, FocusedWindowFrameFallsBackToMainWindow) {
    desktop.addWindow(pid, frameA, 0);
    const auto main = desktop.addWindow(pid, frameB, 0);
    desktop.mainWindowOf[pid] = main;
    EXPECT_EQ(WindowAX::focusedWindowFrame(pid), frameB);

    desktop.focusedWindowOf[pid] = main - 1;
    EXPECT_EQ(WindowAX::focusedWindowFrame(pid), frameA);
}

TEST_F(WindowAXTest, UntrustedProcessGetsNoFrameAndChangesNothing) {
    const auto id = desktop.addWindow(pid, frameA, 0, true);
    desktop.trusted = false;
    EXPECT_EQ(WindowAX::focusedWindowFrame(pid), std::nullopt);
    EXPECT_EQ(WindowAX::restoreIfMinimized(pid, frameA), RestoreOutcome::unchanged);
    EXPECT_TRUE(desktop.window(id)->minimized);
}

TEST_F(WindowAXTest, MinimisedWindowWithinAPointIsShownAgain) {
    const auto id = desktop.addWindow(pid, frameA, 0, true);
    EXPECT_EQ(WindowAX::restoreIfMinimized(pid, frameA.translated(0.5, -1.0)), RestoreOutcome::restored);
    EXPECT_FALSE(desktop.window(id)->minimized);
    EXPECT_TRUE(desktop.isOnscreen(*desktop.window(id)));
}

TEST_F(WindowAXTest, OnlyTheFirstWindowWithTheFrameIsExamined) {
    desktop.addWindow(pid, frameA, 0);
    const auto second = desktop.addWindow(pid, frameA, 0, true);
    EXPECT_EQ(WindowAX::restoreIfMinimized(pid, frameA), RestoreOutcome::unchanged);
    EXPECT_TRUE(desktop.window(second)->minimized);
    EXPECT_TRUE(desktop.minimizeWrites.empty());
}

// Answers of the wrong kind, as a misbehaving application might give them.
class OddAccessibility final : public AccessibilityPort {
public:
    QHash<QString, QVariant> answers;
    int writes = 0;

    bool isProcessTrusted() override { return true; }
    bool isProcessTrustedWithPrompt() override { return true; }
    AXElement applicationElement(std::int32_t pid) override { return {pid, 0}; }
    std::optional<QVariant> copyAttributeValue(const AXElement&, const QString& attribute) override {
        return answers.contains(attribute) ? std::optional(answers.value(attribute)) : std::nullopt;
    }
    bool setAttributeValue(const AXElement&, const QString&, const QVariant&) override {
        return ++writes > 0;
    }
};

TEST(WindowAXOddAnswers, WrongKindsFoldIntoNothing) {
    ScopedFakePlatform fake;
    OddAccessibility ax;
    fake->accessibilityOverride = &ax;
    auto& answers = ax.answers;
    const QVariant window = QVariant::fromValue(AXElement{7, 1});
    const QRectF frame(1, 2, 3, 4);

    answers = {{AXAttribute::focusedWindow, QStringLiteral("not an element")},
               {AXAttribute::mainWindow, window},
               {AXAttribute::position, QPoint(1, 2)},
               {AXAttribute::size, QSizeF(3, 4)}};
    EXPECT_EQ(WindowAX::focusedWindowFrame(7), std::nullopt);
    answers[AXAttribute::position] = QPointF(1, 2);
    EXPECT_EQ(WindowAX::focusedWindowFrame(7), frame);

    answers[AXAttribute::windows] = QVariantList{window, 5};
    answers[AXAttribute::minimized] = true;
    EXPECT_EQ(WindowAX::restoreIfMinimized(7, frame), RestoreOutcome::unchanged);
    answers[AXAttribute::windows] = QVariantList{window};
    answers[AXAttribute::minimized] = 1;
    EXPECT_EQ(WindowAX::restoreIfMinimized(7, frame), RestoreOutcome::unchanged);
    EXPECT_EQ(ax.writes, 0);
}

} // namespace

#include "Platform/WindowOperationsPort.h"
#include "Switching/TargetWindowSelector.h"

#include <gtest/gtest.h>

namespace {

WindowRecord window(std::uint32_t id, QRectF frame, bool onscreen = true) {
    WindowRecord w;
    w.id = id;
    w.frame = RectDTO::dto(frame);
    w.isOnscreen = onscreen;
    return w;
}

std::optional<std::uint32_t> chosen(const std::optional<QRectF>& focusedFrame,
                                    const std::vector<WindowRecord>& windows) {
    const auto w = TargetWindowSelector::select(focusedFrame, windows);
    return w ? std::optional(w->id) : std::nullopt;
}

const QRectF focused(100, 100, 800, 600);

TEST(FrameMatching, ToleranceIsOnePointInclusiveOnEachEdge) {
    EXPECT_TRUE(framesMatch(focused, QRectF(101, 99, 801, 599)));
    EXPECT_FALSE(framesMatch(focused, QRectF(101.01, 100, 800, 600)));
    EXPECT_FALSE(framesMatch(focused, QRectF(100, 100, 800, 601.5)));
    // Negative extents compare as sizes.
    EXPECT_TRUE(framesMatch(QRectF(100, 100, -800, -600), focused));
}

// The focused window's frame picks, the earlier of two matches; else the first onscreen window,
// else the first.
TEST(WindowSelection, FocusedFrameWinsThenFirstOnscreenThenFirst) {
    EXPECT_EQ(chosen(focused, {window(1, QRectF(0, 0, 300, 300)), window(2, QRectF(100.5, 99.2, 800.9, 600)),
                               window(3, focused)}),
              2u);
    EXPECT_EQ(chosen(focused, {window(1, QRectF(100, 100, 801.5, 600), false),
                               window(2, QRectF(100, 100, 798.5, 600), true)}),
              2u);
    EXPECT_EQ(chosen(std::nullopt, {window(1, focused, false), window(2, focused), window(3, focused)}), 2u);
    EXPECT_EQ(chosen(std::nullopt, {window(1, focused, false), window(2, focused, false)}), 1u);
    EXPECT_EQ(chosen(focused, {}), std::nullopt);
}

} // namespace

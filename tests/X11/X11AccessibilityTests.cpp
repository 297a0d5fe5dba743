// Accessibility over openbox: a process's windows, the focused and main window, frames,
// and minimising and restoring.
#include "Platform/X11/X11Accessibility.h"
#include "Platform/X11/X11WindowList.h"
#include "X11Fixture.h"

#include <QPointF>
#include <QSizeF>

namespace {

class Accessibility : public X11Fixture {
protected:
    X11Accessibility& ax() {
        if (!ax_) ax_ = std::make_unique<X11Accessibility>(*connection);
        return *ax_;
    }
    std::optional<QVariant> attribute(std::int32_t pid, xcb_window_t window, const QString& name) {
        return ax().copyAttributeValue(AXElement{pid, window}, name);
    }
    std::optional<AXElement> elementAttribute(std::int32_t pid, const QString& name) {
        const auto value = ax().copyAttributeValue(ax().applicationElement(pid), name);
        if (!value || value->metaType() != QMetaType::fromType<AXElement>()) return std::nullopt;
        return value->value<AXElement>();
    }
    std::vector<std::uint64_t> windowsOf(std::int32_t pid) {
        std::vector<std::uint64_t> ids;
        const auto value = ax().copyAttributeValue(ax().applicationElement(pid), AXAttribute::windows);
        if (!value) return ids;
        for (const QVariant& item : value->toList())
            ids.push_back(item.value<AXElement>().window);
        return ids;
    }
    xcb_window_t windowOf(std::int32_t pid, const char* title = "ax") {
        TestWindowProperties props;
        props.pid = pid;
        props.title = title;
        return windows->create(props);
    }
    void minimise(xcb_window_t w) {
        runTool(QStringLiteral("xdotool"), {QStringLiteral("windowminimize"), QString::number(w)});
        // openbox marks the window hidden a moment before it unmaps it.
        ASSERT_TRUE(windows->waitUntil(
            [&] { return windows->hasState(w, "_NET_WM_STATE_HIDDEN") && !windows->isViewable(w); }));
    }
    void activate(xcb_window_t w) {
        runTool(QStringLiteral("wmctrl"), {QStringLiteral("-i"), QStringLiteral("-a"), QString::number(w)});
        ASSERT_TRUE(windows->waitUntil(
            [&] { return windows->cardinal(connection->root(), "_NET_ACTIVE_WINDOW") == w; }));
    }

private:
    std::unique_ptr<X11Accessibility> ax_;
};

constexpr std::int32_t pidA = 7001;
constexpr std::int32_t pidB = 7002;

} // namespace

TEST_F(Accessibility, AnApplicationsWindowsAreItsClientsFrontToBack) {
    const xcb_window_t a1 = windowOf(pidA);
    const xcb_window_t b1 = windowOf(pidB);
    const xcb_window_t a2 = windowOf(pidA);
    activate(a1);
    EXPECT_EQ(windowsOf(pidA), (std::vector<std::uint64_t>{a1, a2}));
    activate(a2);
    EXPECT_EQ(windowsOf(pidA), (std::vector<std::uint64_t>{a2, a1}));
    EXPECT_EQ(windowsOf(pidB), (std::vector<std::uint64_t>{b1}));
    EXPECT_TRUE(windowsOf(7999).empty());
}

TEST_F(Accessibility, FramesAreTheWindowListsFrames) {
    const xcb_window_t w = windowOf(pidA);
    const auto list = X11WindowList(*connection).copyWindowInfo(0, 0);
    const auto entries = entriesOf(*list, {w});
    ASSERT_EQ(entries.size(), 1u);
    const QVariantMap bounds = entries.front().value(QStringLiteral("kCGWindowBounds")).toMap();

    const auto position = attribute(pidA, w, AXAttribute::position);
    const auto size = attribute(pidA, w, AXAttribute::size);
    ASSERT_TRUE(position && size);
    ASSERT_EQ(position->metaType(), QMetaType::fromType<QPointF>());
    ASSERT_EQ(size->metaType(), QMetaType::fromType<QSizeF>());
    EXPECT_EQ(position->toPointF(), QPointF(bounds.value("X").toDouble(), bounds.value("Y").toDouble()));
    EXPECT_EQ(size->toSizeF(), QSizeF(bounds.value("Width").toDouble(), bounds.value("Height").toDouble()));
    // The element names the window of that process only.
    EXPECT_FALSE(attribute(pidB, w, AXAttribute::position));
}

TEST_F(Accessibility, FocusedWindowIsTheActiveOneOfThatProcess) {
    const xcb_window_t a = windowOf(pidA);
    const xcb_window_t b1 = windowOf(pidB);
    const xcb_window_t b2 = windowOf(pidB);
    activate(b1);
    activate(a);
    EXPECT_EQ(elementAttribute(pidA, AXAttribute::focusedWindow), (AXElement{pidA, a}));
    EXPECT_FALSE(elementAttribute(pidB, AXAttribute::focusedWindow));
    // B's main window is its front-most one that is not minimised.
    EXPECT_EQ(elementAttribute(pidB, AXAttribute::mainWindow), (AXElement{pidB, b1}));
    minimise(b1);
    EXPECT_EQ(elementAttribute(pidB, AXAttribute::mainWindow), (AXElement{pidB, b2}));
}

TEST_F(Accessibility, RestoringAMinimisedWindowShowsItAgain) {
    const xcb_window_t w = windowOf(pidA);
    EXPECT_EQ(attribute(pidA, w, AXAttribute::minimized), QVariant(false));
    minimise(w);
    EXPECT_EQ(attribute(pidA, w, AXAttribute::minimized), QVariant(true));

    EXPECT_TRUE(ax().setAttributeValue(AXElement{pidA, w}, AXAttribute::minimized, QVariant(false)));
    // Returned only once the manager has done it.
    EXPECT_FALSE(windows->hasState(w, "_NET_WM_STATE_HIDDEN"));
    EXPECT_TRUE(windows->waitUntil([&] { return windows->isViewable(w); }));
    EXPECT_EQ(attribute(pidA, w, AXAttribute::minimized), QVariant(false));

    EXPECT_TRUE(ax().setAttributeValue(AXElement{pidA, w}, AXAttribute::minimized, QVariant(true)));
    EXPECT_TRUE(windows->hasState(w, "_NET_WM_STATE_HIDDEN"));
    // Asking for what already holds succeeds without waiting on the manager.
    EXPECT_TRUE(ax().setAttributeValue(AXElement{pidA, w}, AXAttribute::minimized, QVariant(true)));
}

TEST_F(Accessibility, AWindowOnAnotherDesktopIsNotMinimised) {
    const xcb_window_t w = windowOf(pidA);
    runTool(QStringLiteral("wmctrl"), {"-i", "-r", QString::number(w), "-t", "1"});
    ASSERT_TRUE(windows->waitUntil([&] { return windows->cardinal(w, "_NET_WM_DESKTOP") == 1u; }));
    // openbox marks it Iconic in WM_STATE all the same.
    const QString state = runTool(QStringLiteral("xprop"), {"-id", QString::number(w), "WM_STATE"});
    EXPECT_TRUE(state.contains(QStringLiteral("Iconic"))) << state.toStdString();
    EXPECT_EQ(attribute(pidA, w, AXAttribute::minimized), QVariant(false));
}

TEST_F(Accessibility, AGoneWindowAnswersNothingAndCannotBeSet) {
    const xcb_window_t w = windowOf(pidA);
    windows->destroy(w);
    EXPECT_FALSE(attribute(pidA, w, AXAttribute::position));
    EXPECT_FALSE(attribute(pidA, w, AXAttribute::minimized));
    EXPECT_FALSE(ax().setAttributeValue(AXElement{pidA, w}, AXAttribute::minimized, QVariant(false)));
    EXPECT_TRUE(windowsOf(pidA).empty());
    // Nothing but the minimised flag can be written.
    const xcb_window_t other = windowOf(pidA);
    EXPECT_FALSE(
        ax().setAttributeValue(AXElement{pidA, other}, AXAttribute::position, QVariant(QPointF(1, 1))));
}

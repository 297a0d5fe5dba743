#include "Keyboard/KeyIconView.h"
#include "Keyboard/KeyboardLayout.h"
#include "Keyboard/KeyboardView.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// A keyboard at the main window's size, recording the keys it reports.
struct Keys {
    Keys() : view([this](const KeyboardKey& key) { tapped.append(key.id()); }, 6) {
        view.resize(1000, 287);
        view.show();
        TestSupport::processEventsUntil([this] { return view.isVisible(); });
    }
    QPoint centre(const QString& id) const {
        return view.capGeometry().capRect(*KeyboardLayout::key(id)).center().toPoint();
    }
    void moveTo(QPoint point) { QTest::mouseMove(&view, point); }

    QStringList tapped;
    KeyboardView view;
};

// Clicks on free and bound caps are covered by the main window's tests opening the picker.
TEST(KeyboardViewClicks, GapsAndDragsBetweenCapsReportNothingButACapClickDoes) {
    Keys keys;
    const QRectF q = keys.view.capGeometry().capRect(*KeyboardLayout::key("1-q"));
    // Between Q and W, and the rounded-off corner of Q.
    QTest::mouseClick(&keys.view, Qt::LeftButton, {}, QPoint(qRound(q.right() + 3), qRound(q.center().y())));
    QTest::mouseClick(&keys.view, Qt::LeftButton, {}, (q.topLeft() + QPointF(1, 1)).toPoint());
    QTest::mousePress(&keys.view, Qt::LeftButton, {}, keys.centre("1-q"));
    QTest::mouseRelease(&keys.view, Qt::LeftButton, {}, keys.centre("1-w"));
    EXPECT_TRUE(keys.tapped.isEmpty());
    QTest::mouseClick(&keys.view, Qt::LeftButton, {}, keys.centre("3-/"));
    EXPECT_EQ(keys.tapped, QStringList({"3-/"}));
}

TEST(KeyboardViewHover, MovingStraightToTheNextCapHighlightsItAndLeavingCapsClearsIt) {
    Keys keys;
    keys.moveTo(keys.centre("1-q"));
    EXPECT_EQ(keys.view.hoveredKeyID(), "1-q");
    keys.moveTo(keys.centre("1-w"));
    EXPECT_EQ(keys.view.hoveredKeyID(), "1-w");
    const QRectF w = keys.view.capGeometry().capRect(*KeyboardLayout::key("1-w"));
    keys.moveTo(QPoint(qRound(w.center().x()), qRound(w.bottom() + 3)));
    EXPECT_FALSE(keys.view.hoveredKeyID().has_value());
}

TEST(KeyboardViewIcons, PlaceholderShowsWhileTheBundleIsMissing) {
    const QString folder = TestSupport::freshFolder() + "/iTerm.app";
    const AppEntry entry{"com.googlecode.iterm2", folder, "iTerm"};
    EXPECT_EQ(KeyIconView::placeholderText(entry), "i"); // first character, unchanged
    QDir().mkpath(folder);
    EXPECT_FALSE(KeyIconView::placeholderText(entry).has_value());
}

} // namespace

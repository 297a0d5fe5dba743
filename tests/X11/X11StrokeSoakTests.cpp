// Five hundred strokes typed through XTEST on the assembled X11 platform, each to one of three
// running applications on two desktops: every stroke runs once, in order, makes exactly its
// window active and counts one jump.

// The monitor's header uses Qt's signal keywords; this file includes no GIO header.
#undef QT_NO_KEYWORDS

#include "Hotkey/StrokeExecution.h"
#include "StrokeFixture.h"

#include <QElapsedTimer>

#include <cstdio>
#include <mutex>
#include <random>

namespace {

constexpr int strokeCount = 500;
constexpr std::uint32_t seed = 20260307;

struct Target {
    QString id;
    QString name;
    QString wmClass;
    std::uint8_t xKey;
    QString keyID;
    std::uint32_t desktop;
    xcb_window_t window = XCB_NONE;
};

class StrokeSoak : public Strokes {
protected:
    /// The strokes in the order the queue started them.
    std::mutex ranLock;
    QStringList ran;
};

} // namespace

TEST_F(StrokeSoak, FiveHundredStrokesEachActivateTheirWindowOnce) {
    std::vector<Target> targets{
        {"kestavon-soak-a.desktop", "Soak A", "KestavonSoakA", XKey::q, "1-q", 0, XCB_NONE},
        {"kestavon-soak-b.desktop", "Soak B", "KestavonSoakB", XKey::w, "1-w", 0, XCB_NONE},
        {"kestavon-soak-c.desktop", "Soak C", "KestavonSoakC", XKey::s, "2-s", 2, XCB_NONE},
    };
    for (Target& t : targets) {
        bindEntry(t.keyID, t.id, t.name, t.wmClass);
        t.window = run(t.wmClass);
        ASSERT_NE(t.window, XCB_NONE);
        runTool(QStringLiteral("wmctrl"), {QStringLiteral("-i"), QStringLiteral("-r"), hexId(t.window),
                                           QStringLiteral("-t"), QString::number(t.desktop)});
        ASSERT_TRUE(
            windows->waitUntil([&] { return windows->cardinal(t.window, "_NET_WM_DESKTOP") == t.desktop; }));
    }
    monitor->setStrokeExecution([&](const QString& keyID, const AppEntry& entry) {
        {
            std::lock_guard lock(ranLock);
            ran.append(keyID);
        }
        StrokeExecution::execute(*monitor, keyID, entry);
    });

    // Never the same application twice running: each stroke changes the active window and
    // the result text, so a missed or repeated one cannot hide. A and B share a desktop, C has
    // one of its own; a stroke that changes desktop waits for the switch to settle, so C
    // comes up about one stroke in ten.
    std::mt19937 random(seed);
    std::size_t current = 0;
    int desktopChanges = 0;
    QStringList sent;
    QElapsedTimer clock;
    clock.start();
    for (int n = 0; n < strokeCount; ++n) {
        const std::size_t previous = current;
        current = current == 2 ? random() % 2 : random() % 10 == 0 ? 2 : 1 - current;
        desktopChanges += int(targets[current].desktop != targets[previous].desktop);
        const Target& t = targets[current];
        stroke(t.xKey);
        sent.append(t.keyID);

        ASSERT_TRUE(TestSupport::processEventsUntil([&] { return outcomes.size() > n; }, 10000))
            << "stroke " << n << " to " << t.name.toStdString() << " gave no result";
        ASSERT_EQ(outcomes.size(), n + 1) << "stroke " << n << " ran more than once";
        ASSERT_EQ(outcomes.back(), QStringLiteral("Switched to ") + t.name) << "stroke " << n;
        ASSERT_TRUE(waitUntilActive(t.window))
            << "stroke " << n << ": " << t.name.toStdString() << " not active";
    }
    const qint64 elapsedMs = clock.elapsed();
    monitor->queue().waitUntilIdle();
    TestSupport::drainMainThread();
    std::printf("%d strokes on X11 (%d changing desktop) in %lld ms (%.1f ms each)\n", strokeCount,
                desktopChanges, static_cast<long long>(elapsedMs), double(elapsedMs) / strokeCount);

    EXPECT_EQ(outcomes.size(), strokeCount);
    EXPECT_EQ(ran, sent);
    EXPECT_EQ(countedJumps() - jumpsBefore, strokeCount);
}

// kestavon-inventory run against the display, checked against what wmctrl lists.
#include "X11Fixture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <set>
#include <tuple>

namespace {

using Listing = std::set<std::tuple<std::uint32_t, std::int32_t, std::int64_t>>;

class InventoryTool : public X11Fixture {};

} // namespace

TEST_F(InventoryTool, ListsTheWindowsPidsAndDesktopsThatWmctrlLists) {
    std::vector<xcb_window_t> made;
    for (int n = 0; n < 6; ++n) {
        TestWindowProperties props;
        props.pid = 8100 + n % 3;
        props.wmClass = QByteArray("tool\0ToolTest\0", 14);
        props.title = QByteArray("tool window ") + QByteArray::number(n);
        made.push_back(windows->create(props));
    }
    runTool(QStringLiteral("wmctrl"), {"-i", "-r", QString::number(made[1]), "-t", "1"});
    runTool(QStringLiteral("wmctrl"), {"-i", "-r", QString::number(made[2]), "-t", "3"});
    runTool(QStringLiteral("xdotool"), {"set_desktop_for_window", QString::number(made[3]), "-1"});
    runTool(QStringLiteral("xdotool"), {"windowminimize", QString::number(made[4])});
    ASSERT_TRUE(windows->waitUntil([&] {
        return windows->cardinal(made[1], "_NET_WM_DESKTOP") == 1u &&
               windows->cardinal(made[2], "_NET_WM_DESKTOP") == 3u &&
               windows->cardinal(made[3], "_NET_WM_DESKTOP") == 0xFFFFFFFFu &&
               windows->hasState(made[4], "_NET_WM_STATE_HIDDEN");
    }));
    const std::uint32_t current = *windows->cardinal(connection->root(), "_NET_CURRENT_DESKTOP");

    int status = 0;
    const QString json = runTool(QStringLiteral(KESTAVON_INVENTORY_TOOL), {}, &status);
    ASSERT_EQ(status, 0);
    const QJsonObject inventory = QJsonDocument::fromJson(json.toUtf8()).object();
    ASSERT_FALSE(inventory.isEmpty()) << json.toStdString();
    EXPECT_TRUE(inventory.value(QStringLiteral("spaceInfoAvailable")).toBool());
    Listing fromTool;
    for (const QJsonValue app : inventory.value(QStringLiteral("apps")).toArray())
        for (const QJsonValue window : app.toObject().value(QStringLiteral("windows")).toArray()) {
            const QJsonObject w = window.toObject();
            fromTool.emplace(std::uint32_t(w.value(QStringLiteral("id")).toInteger()),
                             std::int32_t(w.value(QStringLiteral("pid")).toInteger()),
                             w.value(QStringLiteral("spaceID")).toInteger(-1));
        }

    // wmctrl -lpG: id, desktop (-1 for all), pid, x, y, width, height, host, title. Windows
    // without a pid (0 there) are not in the inventory.
    Listing fromWmctrl;
    for (const QString& line :
         runTool(QStringLiteral("wmctrl"), {QStringLiteral("-lpG")}).split(QLatin1Char('\n'))) {
        const QStringList f = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (f.size() < 7 || f[2].toInt() == 0) continue;
        const std::int64_t desktop = f[1].toInt() < 0 ? current : f[1].toInt();
        fromWmctrl.emplace(f[0].toUInt(nullptr, 16), f[2].toInt(), desktop + 1);
    }
    EXPECT_EQ(fromTool, fromWmctrl);
    for (const xcb_window_t w : made)
        EXPECT_TRUE(std::any_of(fromTool.begin(), fromTool.end(),
                                [&](const auto& t) { return std::get<0>(t) == w; }));
}

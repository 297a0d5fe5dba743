#include "Inventory/InventoryJson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace {

WindowRecord bareWindow() {
    WindowRecord record;
    record.id = 42;
    record.pid = 311;
    record.appName = "Notes";
    record.frame = {0, 25, 800, 600};
    return record;
}

WindowRecord fullWindow() {
    WindowRecord record = bareWindow();
    record.bundleID = "com.example.notes";
    record.title = "Shopping / list";
    record.isOnscreen = true;
    record.displayID = 4294967295u;
    record.displayName = "Built-in";
    record.spaceID = 9223372036854775807ull;
    record.spaceLabel = "Desktop 2";
    return record;
}

WindowInventory sampleInventory() {
    WindowRecord other = bareWindow();
    other.id = 7;
    other.pid = -1;
    other.frame = {-1920.5, 0.25, 1e-3, 1.5e300};
    DisplayInfo main{1, "Built-in", {0, 0, 1440, 900}, true};
    DisplayInfo side{2, "Display 2", {1440, -200, 1920, 1080}, false};
    return WindowInventory::assemble(QDateTime::fromMSecsSinceEpoch(1714558830123, Qt::UTC), true,
                                     {main, side}, {fullWindow(), other, bareWindow()});
}

QByteArray replaced(QByteArray json, const char* from, const char* to) {
    return json.replace(from, to);
}

} // namespace

TEST(InventoryJsonEncoding, AbsentOptionalsAreWrittenAsNullInMemberOrder) {
    EXPECT_EQ(InventoryJson::encode(bareWindow()),
              QByteArray(R"({"id":42,"pid":311,"appName":"Notes","bundleID":null,"title":null,)"
                         R"("frame":{"x":0,"y":25,"width":800,"height":600},"isOnscreen":false,)"
                         R"("displayID":null,"displayName":null,"spaceID":null,"spaceLabel":null})"));
    AppGroup group;
    group.appName = "A";
    EXPECT_EQ(InventoryJson::encode(group),
              QByteArray(R"({"appName":"A","bundleID":null,"pids":[],"windowCount":0,)"
                         R"("displayNames":[],"spaceLabels":[],"windows":[]})"));
}

TEST(InventoryJsonEncoding, CollectedAtIsUtcIsoWithMilliseconds) {
    WindowInventory inventory;
    inventory.collectedAt = QDateTime::fromMSecsSinceEpoch(1714558830123, Qt::UTC).toOffsetFromUtc(7200);
    EXPECT_TRUE(InventoryJson::encode(inventory).startsWith(R"({"collectedAt":"2024-05-01T10:20:30.123Z",)"));
}

TEST(InventoryJsonDecoding, WholeInventoryRoundTrips) {
    const WindowInventory inventory = sampleInventory();
    const auto decoded = InventoryJson::decodeWindowInventory(InventoryJson::encode(inventory));
    ASSERT_TRUE(decoded.ok()) << decoded.error.toStdString();
    EXPECT_EQ(*decoded.value, inventory);
}

TEST(InventoryJsonDecoding, MissingOptionalKeysDecodeAsAbsent) {
    const QByteArray json = R"({"id":42,"pid":311,"appName":"Notes",)"
                            R"("frame":{"x":0,"y":25,"width":800,"height":600},"isOnscreen":false})";
    const auto decoded = InventoryJson::decodeWindowRecord(json);
    ASSERT_TRUE(decoded.ok()) << decoded.error.toStdString();
    EXPECT_EQ(*decoded.value, bareWindow());
}

TEST(InventoryJsonDecoding, ErrorNamesTypeKeyAndPath) {
    const QByteArray json = InventoryJson::encode(sampleInventory());
    EXPECT_EQ(InventoryJson::decodeWindowInventory(replaced(json, R"("pid":311)", R"("pid":"311")")).error,
              QStringLiteral("WindowRecord: key \"pid\" at apps[0].windows[0]: expected a number"));
    EXPECT_EQ(InventoryJson::decodeWindowInventory(replaced(json, R"("name":"Display 2",)", "")).error,
              QStringLiteral("DisplayInfo: key \"name\" at displays[1]: missing"));
}

TEST(InventoryJsonDecoding, RequiredKeysTypesAndRangesAreEnforced) {
    const QByteArray record = InventoryJson::encode(bareWindow());
    struct Case {
        const char* key;
        QJsonValue value;
        const char* error;
    };
    const Case cases[] = {
        {"appName", QJsonValue::Null, "WindowRecord: key \"appName\": expected a string"},
        {"isOnscreen", 0, "WindowRecord: key \"isOnscreen\": expected a boolean"},
        {"title", 5, "WindowRecord: key \"title\": expected a string"},
        {"frame", QJsonArray(), "WindowRecord: key \"frame\": expected an object"},
        {"id", -1, "WindowRecord: key \"id\": expected an unsigned 32-bit integer"},
        {"id", 4294967296.0, "WindowRecord: key \"id\": expected an unsigned 32-bit integer"},
        {"pid", 2147483648.0, "WindowRecord: key \"pid\": expected a signed 32-bit integer"},
        {"pid", 1.5, "WindowRecord: key \"pid\": expected a whole number"},
        {"displayID", "1", "WindowRecord: key \"displayID\": expected a number"},
    };
    for (const Case& c : cases) {
        QJsonObject root = QJsonDocument::fromJson(record).object();
        root[c.key] = c.value;
        EXPECT_EQ(InventoryJson::decodeWindowRecord(QJsonDocument(root).toJson()).error,
                  QString::fromUtf8(c.error))
            << c.key;
    }
    EXPECT_EQ(InventoryJson::decodeWindowRecord(replaced(record, R"("width":800,)", "")).error,
              QStringLiteral("RectDTO: key \"width\" at frame: missing"));
    // A Space id one past the signed 64-bit range is refused, not rounded to a neighbour.
    const QByteArray full = InventoryJson::encode(fullWindow());
    EXPECT_EQ(
        InventoryJson::decodeWindowRecord(replaced(full, "9223372036854775807", "9223372036854775808")).error,
        QStringLiteral("WindowRecord: key \"spaceID\": expected an unsigned 64-bit integer"));
}

TEST(InventoryJsonDecoding, ArrayItemsOfTheWrongTypeAreNamed) {
    AppGroup group;
    group.appName = "A";
    group.pids = {1, 2};
    const QByteArray json = InventoryJson::encode(group);
    EXPECT_EQ(InventoryJson::decodeAppGroup(replaced(json, "[1,2]", R"([1,"2"])")).error,
              QStringLiteral("AppGroup: key \"pids\": item 1: expected a number"));
    EXPECT_EQ(InventoryJson::decodeAppGroup(replaced(json, R"("windows":[])", R"("windows":[true])")).error,
              QStringLiteral("AppGroup: key \"windows\": item 0: expected an object"));
}

#include "Inventory/InventoryJson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <functional>

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

QJsonObject parsed(const QByteArray& json) {
    return QJsonDocument::fromJson(json).object();
}

// The same JSON after `edit` has changed its parsed form.
QByteArray edited(const QByteArray& json, const std::function<void(QJsonObject&)>& edit) {
    QJsonObject root = parsed(json);
    edit(root);
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

} // namespace

TEST(InventoryJsonEncoding, AbsentOptionalsAreWrittenAsNullInMemberOrder) {
    EXPECT_EQ(InventoryJson::encode(bareWindow()),
              QByteArray(R"({"id":42,"pid":311,"appName":"Notes","bundleID":null,"title":null,)"
                         R"("frame":{"x":0,"y":25,"width":800,"height":600},"isOnscreen":false,)"
                         R"("displayID":null,"displayName":null,"spaceID":null,"spaceLabel":null})"));
}

TEST(InventoryJsonEncoding, GroupWritesBundleNullAndEmptyArrays) {
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
    const QByteArray badPid = edited(json, [](QJsonObject& root) {
        QJsonArray apps = root["apps"].toArray();
        QJsonObject app = apps[0].toObject();
        QJsonArray windows = app["windows"].toArray();
        QJsonObject record = windows[0].toObject();
        record["pid"] = "311";
        windows[0] = record;
        app["windows"] = windows;
        apps[0] = app;
        root["apps"] = apps;
    });
    EXPECT_EQ(InventoryJson::decodeWindowInventory(badPid).error,
              QStringLiteral("WindowRecord: key \"pid\" at apps[0].windows[0]: expected a number"));

    const QByteArray noName = edited(json, [](QJsonObject& root) {
        QJsonArray displays = root["displays"].toArray();
        QJsonObject display = displays[1].toObject();
        display.remove("name");
        displays[1] = display;
        root["displays"] = displays;
    });
    EXPECT_EQ(InventoryJson::decodeWindowInventory(noName).error,
              QStringLiteral("DisplayInfo: key \"name\" at displays[1]: missing"));
}

TEST(InventoryJsonDecoding, RequiredKeysAndTypesAreEnforced) {
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
        const QByteArray json = edited(record, [&](QJsonObject& root) { root[c.key] = c.value; });
        EXPECT_EQ(InventoryJson::decodeWindowRecord(json).error, QString::fromUtf8(c.error)) << c.key;
    }
    const QByteArray noFrameWidth = edited(record, [](QJsonObject& root) {
        QJsonObject frame = root["frame"].toObject();
        frame.remove("width");
        root["frame"] = frame;
    });
    EXPECT_EQ(InventoryJson::decodeWindowRecord(noFrameWidth).error,
              QStringLiteral("RectDTO: key \"width\" at frame: missing"));
}

TEST(InventoryJsonDecoding, ArrayItemsOfTheWrongTypeAreNamed) {
    AppGroup group;
    group.appName = "A";
    group.pids = {1, 2};
    const QByteArray json = InventoryJson::encode(group);
    const QByteArray badPid = edited(json, [](QJsonObject& root) { root["pids"] = QJsonArray{1, "2"}; });
    EXPECT_EQ(InventoryJson::decodeAppGroup(badPid).error,
              QStringLiteral("AppGroup: key \"pids\": item 1: expected a number"));
    const QByteArray badWindow = edited(json, [](QJsonObject& root) { root["windows"] = QJsonArray{true}; });
    EXPECT_EQ(InventoryJson::decodeAppGroup(badWindow).error,
              QStringLiteral("AppGroup: key \"windows\": item 0: expected an object"));
}

TEST(InventoryJsonDecoding, SpaceIdBeyondSignedRangeIsRefusedNotRounded) {
    QByteArray json = InventoryJson::encode(fullWindow());
    json.replace("9223372036854775807", "9223372036854775808");
    EXPECT_EQ(InventoryJson::decodeWindowRecord(json).error,
              QStringLiteral("WindowRecord: key \"spaceID\": expected an unsigned 64-bit integer"));
}

TEST(InventoryJsonDecoding, HostileInputGivesAnErrorNotACrash) {
    const QByteArray deep = QByteArray(100000, '[') + QByteArray(100000, ']');
    const QByteArray inputs[] = {
        deep,
        QByteArray(R"({"x":1e999,"y":0,"width":0,"height":0})"),
        QByteArray("not json"),
        QByteArray(),
        QByteArray("[]"),
        QByteArray("\xff\xfe\x00{", 4),
        QByteArray(R"({"collectedAt":"yesterday","spaceInfoAvailable":true,"displays":[],"apps":[],)"
                   R"("unassignedCount":0})"),
    };
    for (const QByteArray& input : inputs) {
        EXPECT_FALSE(InventoryJson::decodeRectDTO(input).ok());
        const auto inventory = InventoryJson::decodeWindowInventory(input);
        EXPECT_FALSE(inventory.ok());
        EXPECT_TRUE(inventory.error.startsWith(QStringLiteral("WindowInventory: ")))
            << inventory.error.toStdString();
    }
}

#include "Inventory/InventoryJson.h"

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

} // namespace

TEST(InventoryJsonEncoding, AbsentOptionalsAreWrittenAsNullInMemberOrder) {
    EXPECT_EQ(InventoryJson::encode(bareWindow()),
              QByteArray(R"({"id":42,"pid":311,"appName":"Notes","bundleID":null,"title":null,)"
                         R"("frame":{"x":0,"y":25,"width":800,"height":600},"isOnscreen":false,)"
                         R"("displayID":null,"displayName":null,"spaceID":null,"spaceLabel":null})"));
    // Present optionals, and integers at the top of their range, are written exactly.
    EXPECT_TRUE(InventoryJson::encode(fullWindow())
                    .endsWith(R"("isOnscreen":true,"displayID":4294967295,"displayName":"Built-in",)"
                              R"("spaceID":9223372036854775807,"spaceLabel":"Desktop 2"})"));
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

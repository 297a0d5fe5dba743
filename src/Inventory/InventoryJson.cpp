#include "InventoryJson.h"

#include "Support/JsonWriter.h"

namespace InventoryJson {

void write(JsonWriter& out, const RectDTO& rect) {
    out.beginObject();
    out.key(u"x").value(rect.x);
    out.key(u"y").value(rect.y);
    out.key(u"width").value(rect.width);
    out.key(u"height").value(rect.height);
    out.endObject();
}

void write(JsonWriter& out, const DisplayInfo& display) {
    out.beginObject();
    out.key(u"id").value(display.id);
    out.key(u"name").value(display.name);
    out.key(u"frame");
    write(out, display.frame);
    out.key(u"isMain").value(display.isMain);
    out.endObject();
}

void write(JsonWriter& out, const WindowRecord& window) {
    out.beginObject();
    out.key(u"id").value(window.id);
    out.key(u"pid").value(window.pid);
    out.key(u"appName").value(window.appName);
    out.key(u"bundleID").value(window.bundleID);
    out.key(u"title").value(window.title);
    out.key(u"frame");
    write(out, window.frame);
    out.key(u"isOnscreen").value(window.isOnscreen);
    out.key(u"displayID").value(window.displayID);
    out.key(u"displayName").value(window.displayName);
    out.key(u"spaceID").value(window.spaceID);
    out.key(u"spaceLabel").value(window.spaceLabel);
    out.endObject();
}

void write(JsonWriter& out, const AppGroup& group) {
    out.beginObject();
    out.key(u"appName").value(group.appName);
    out.key(u"bundleID").value(group.bundleID);
    out.key(u"pids").beginArray();
    for (std::int32_t pid : group.pids)
        out.value(pid);
    out.endArray();
    out.key(u"windowCount").value(group.windowCount);
    out.key(u"displayNames").beginArray();
    for (const QString& name : group.displayNames)
        out.value(name);
    out.endArray();
    out.key(u"spaceLabels").beginArray();
    for (const QString& label : group.spaceLabels)
        out.value(label);
    out.endArray();
    out.key(u"windows").beginArray();
    for (const WindowRecord& window : group.windows)
        write(out, window);
    out.endArray();
    out.endObject();
}

void write(JsonWriter& out, const WindowInventory& inventory) {
    out.beginObject();
    out.key(u"collectedAt").value(inventory.collectedAt.toUTC().toString(Qt::ISODateWithMs));
    out.key(u"spaceInfoAvailable").value(inventory.spaceInfoAvailable);
    out.key(u"displays").beginArray();
    for (const DisplayInfo& display : inventory.displays)
        write(out, display);
    out.endArray();
    out.key(u"apps").beginArray();
    for (const AppGroup& group : inventory.apps)
        write(out, group);
    out.endArray();
    out.key(u"unassignedCount").value(inventory.unassignedCount);
    out.endObject();
}

namespace {
template <typename T> QByteArray encoded(const T& value) {
    JsonWriter out;
    write(out, value);
    return out.bytes();
}
} // namespace

QByteArray encode(const RectDTO& rect) {
    return encoded(rect);
}
QByteArray encode(const DisplayInfo& display) {
    return encoded(display);
}
QByteArray encode(const WindowRecord& window) {
    return encoded(window);
}
QByteArray encode(const AppGroup& group) {
    return encoded(group);
}
QByteArray encode(const WindowInventory& inventory) {
    return encoded(inventory);
}

} // namespace InventoryJson

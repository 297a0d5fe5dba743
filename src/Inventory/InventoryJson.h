#pragma once

#include "Inventory/AppGroup.h"
#include "Inventory/DisplayInfo.h"
#include "Inventory/RectDTO.h"
#include "Inventory/WindowInventory.h"
#include "Inventory/WindowRecord.h"

#include <QByteArray>

class JsonWriter;

/// The JSON form of the inventory values. Members are written in declaration order; every
/// optional member of a window or a group is always written, as null when absent, so a reader
/// sees the same keys for every window. "collectedAt" is ISO-8601 in UTC with milliseconds.
namespace InventoryJson {

void write(JsonWriter& out, const RectDTO& rect);
void write(JsonWriter& out, const DisplayInfo& display);
void write(JsonWriter& out, const WindowRecord& window);
void write(JsonWriter& out, const AppGroup& group);
void write(JsonWriter& out, const WindowInventory& inventory);

QByteArray encode(const RectDTO& rect);
QByteArray encode(const DisplayInfo& display);
QByteArray encode(const WindowRecord& window);
QByteArray encode(const AppGroup& group);
QByteArray encode(const WindowInventory& inventory);

} // namespace InventoryJson

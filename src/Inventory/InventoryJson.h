#pragma once

#include "Inventory/AppGroup.h"
#include "Inventory/DisplayInfo.h"
#include "Inventory/RectDTO.h"
#include "Inventory/WindowInventory.h"
#include "Inventory/WindowRecord.h"

#include <QByteArray>
#include <QString>

#include <optional>

class JsonWriter;

/// The JSON form of the inventory values. Members are written in declaration order; every
/// optional member of a window or a group is always written, as null when absent, so a reader
/// sees the same keys for every window. "collectedAt" is ISO-8601 in UTC with milliseconds.
///
/// Reading is strict: required members must be present and of their type, integers whole and
/// in range; optional members may be missing or null; unknown members are ignored. An error
/// names the type, the key and the path of the object holding it.
namespace InventoryJson {

/// A decoded value, or the reason there is none.
template <typename T> struct Decoded {
    std::optional<T> value;
    QString error;

    bool ok() const { return value.has_value(); }
};

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

Decoded<RectDTO> decodeRectDTO(const QByteArray& json);
Decoded<DisplayInfo> decodeDisplayInfo(const QByteArray& json);
Decoded<WindowRecord> decodeWindowRecord(const QByteArray& json);
Decoded<AppGroup> decodeAppGroup(const QByteArray& json);
Decoded<WindowInventory> decodeWindowInventory(const QByteArray& json);

} // namespace InventoryJson

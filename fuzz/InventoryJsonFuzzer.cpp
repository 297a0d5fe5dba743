// The inventory JSON form: the first byte picks the type ('r' rectangle, 'd' display, 'w'
// window, 'g' application group, anything else a whole inventory), the rest is the text.
// Whatever decodes is encoded and decoded again to the same value (text that is not valid
// Unicode comes back repaired) and the same bytes; whatever does not decode says why.
#include "FuzzCheck.h"
#include "ValidText.h"

#include "Inventory/InventoryJson.h"

#include <QJsonDocument>

#include <cstddef>
#include <cstdint>

namespace {

template <typename T> void roundTrip(const QByteArray& json, const InventoryJson::Decoded<T>& decoded,
                                     InventoryJson::Decoded<T> (*decode)(const QByteArray&)) {
    if (!decoded.ok()) {
        FUZZ_CHECK(!decoded.error.isEmpty());
        return;
    }
    const QByteArray written = InventoryJson::encode(*decoded.value);
    QJsonParseError error{};
    QJsonDocument::fromJson(written, &error);
    FUZZ_CHECK(error.error == QJsonParseError::NoError);
    const InventoryJson::Decoded<T> reread = decode(written);
    FUZZ_CHECK(reread.ok());
    FUZZ_CHECK(*reread.value == *decoded.value || !ValidText::in(json));
    FUZZ_CHECK(InventoryJson::encode(*reread.value) == written);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const QByteArray json(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    using namespace InventoryJson;
    switch (data[0]) {
    case 'r':
        roundTrip(json, decodeRectDTO(json), &decodeRectDTO);
        break;
    case 'd':
        roundTrip(json, decodeDisplayInfo(json), &decodeDisplayInfo);
        break;
    case 'w':
        roundTrip(json, decodeWindowRecord(json), &decodeWindowRecord);
        break;
    case 'g':
        roundTrip(json, decodeAppGroup(json), &decodeAppGroup);
        break;
    default:
        roundTrip(json, decodeWindowInventory(json), &decodeWindowInventory);
        break;
    }
    return 0;
}

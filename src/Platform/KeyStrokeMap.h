#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

/// The 47 bindable keys: virtual key code <-> key identifier ("1-q": row, hyphen, the
/// unshifted character), and the order in which the keys are laid out.
namespace KeyStrokeMap {

struct Key {
    std::int64_t code;
    std::int64_t row;
    char16_t label;
};

/// The fixed list of bindable keys in layout order.
const std::array<Key, 47>& table();
/// The key identifier of a virtual key code, or nothing for a key that cannot be bound.
std::optional<QString> keyID(std::int64_t keyCode);
/// The 47 identifiers in layout order.
const QStringList& layoutOrder();
/// Identifier -> position in the layout.
const QHash<QString, int>& rankByKeyID();
/// Position of an identifier given as UTF-8 bytes, or -1 when it is not one of the 47.
int rank(std::string_view utf8KeyID);

} // namespace KeyStrokeMap

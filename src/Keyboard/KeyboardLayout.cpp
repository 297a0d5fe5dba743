#include "Keyboard/KeyboardLayout.h"

#include "Platform/KeyStrokeMap.h"

#include <algorithm>

namespace KeyboardLayout {
namespace {

struct Tables {
    std::array<QStringList, 4> rows;
    QList<KeyboardKey> keys;
};

// Built from the key map, so the caps can never disagree with the identifiers the hotkey
// path and the bindings file use.
const Tables& tables() {
    static const Tables built = [] {
        Tables t;
        for (const KeyStrokeMap::Key& mapped : KeyStrokeMap::table()) {
            const auto row = static_cast<int>(mapped.row);
            QStringList& characters = t.rows[static_cast<std::size_t>(row)];
            const QString character(QChar(mapped.label));
            const double column = rowOffsets()[static_cast<std::size_t>(row)] + double(characters.size());
            characters.append(character);
            t.keys.append({character, character.toUpper(), row, column});
        }
        return t;
    }();
    return built;
}

} // namespace

const std::array<QStringList, 4>& rows() {
    return tables().rows;
}

const std::array<double, 4>& rowOffsets() {
    static constexpr std::array<double, 4> offsets{0.0, 1.5, 1.75, 2.25};
    return offsets;
}

const QList<KeyboardKey>& keys() {
    return tables().keys;
}

std::optional<KeyboardKey> key(const QString& id) {
    const QList<KeyboardKey>& all = keys();
    const auto found =
        std::find_if(all.begin(), all.end(), [&](const KeyboardKey& k) { return k.id() == id; });
    if (found == all.end()) return std::nullopt;
    return *found;
}

QRectF Geometry::capRect(const KeyboardKey& key) const {
    const double side = unit - gap;
    return {area.left() + key.column * unit + gap * 0.5, area.top() + key.row * unit + gap * 0.5, side, side};
}

Geometry geometry(const QSizeF& offered, double gap) {
    const double innerWidth = std::max(0.0, offered.width() - 2 * margin);
    const double innerHeight = std::max(0.0, offered.height() - 2 * margin);
    // Fit the 15:4 area inside what is left after the margin, centred.
    const double aspect = widthInUnits / heightInUnits;
    double width = innerWidth;
    double height = width / aspect;
    if (height > innerHeight) {
        height = innerHeight;
        width = height * aspect;
    }
    Geometry g;
    g.area = QRectF((offered.width() - width) / 2, (offered.height() - height) / 2, width, height);
    g.background = g.area.adjusted(-margin, -margin, margin, margin);
    g.unit = std::min(height / heightInUnits, width / widthInUnits);
    g.gap = gap;
    return g;
}

double heightForWidth(double width) {
    return (width - 2 * margin) / widthInUnits * heightInUnits + 2 * margin;
}

} // namespace KeyboardLayout

#include "KeyStrokeMap.h"

namespace KeyStrokeMap {
namespace {

QString identifier(const Key& key) {
    return QString::number(key.row) + QLatin1Char('-') + QChar(key.label);
}

struct Tables {
    QHash<std::int64_t, QString> byCode;
    QStringList layoutOrder;
    QHash<QString, int> rankByKeyID;
    // [row][ASCII label] -> rank + 1 (0 = not bindable), for byte-level look-ups.
    std::array<std::array<std::uint8_t, 128>, 4> rankByRowAndLabel{};
};

const Tables& tables() {
    static const Tables built = [] {
        Tables t;
        int position = 0;
        for (const Key& key : table()) {
            const QString id = identifier(key);
            t.byCode.insert(key.code, id);
            t.layoutOrder.append(id);
            t.rankByKeyID.insert(id, position);
            t.rankByRowAndLabel[key.row][key.label] = static_cast<std::uint8_t>(position + 1);
            ++position;
        }
        return t;
    }();
    return built;
}

} // namespace

const std::array<Key, 47>& table() {
    static constexpr std::array<Key, 47> keys{{
        {50, 0, u'`'}, {18, 0, u'1'}, {19, 0, u'2'}, {20, 0, u'3'}, {21, 0, u'4'}, {23, 0, u'5'},
        {22, 0, u'6'}, {26, 0, u'7'}, {28, 0, u'8'}, {25, 0, u'9'}, {29, 0, u'0'}, {27, 0, u'-'},
        {24, 0, u'='},
        {12, 1, u'q'}, {13, 1, u'w'}, {14, 1, u'e'}, {15, 1, u'r'}, {17, 1, u't'}, {16, 1, u'y'},
        {32, 1, u'u'}, {34, 1, u'i'}, {31, 1, u'o'}, {35, 1, u'p'}, {33, 1, u'['}, {30, 1, u']'},
        {42, 1, u'\\'},
        {0, 2, u'a'}, {1, 2, u's'}, {2, 2, u'd'}, {3, 2, u'f'}, {5, 2, u'g'}, {4, 2, u'h'},
        {38, 2, u'j'}, {40, 2, u'k'}, {37, 2, u'l'}, {41, 2, u';'}, {39, 2, u'\''},
        {6, 3, u'z'}, {7, 3, u'x'}, {8, 3, u'c'}, {9, 3, u'v'}, {11, 3, u'b'}, {45, 3, u'n'},
        {46, 3, u'm'}, {43, 3, u','}, {47, 3, u'.'}, {44, 3, u'/'},
    }};
    return keys;
}

std::optional<QString> keyID(std::int64_t keyCode) {
    const auto& byCode = tables().byCode;
    const auto found = byCode.constFind(keyCode);
    if (found == byCode.constEnd()) return std::nullopt;
    return *found;
}

const QStringList& layoutOrder() { return tables().layoutOrder; }

const QHash<QString, int>& rankByKeyID() { return tables().rankByKeyID; }

int rank(std::string_view id) {
    if (id.size() != 3 || id[1] != '-') return -1;
    const unsigned row = static_cast<unsigned char>(id[0]) - '0';
    const auto label = static_cast<unsigned char>(id[2]);
    if (row > 3 || label >= 128) return -1;
    return int(tables().rankByRowAndLabel[row][label]) - 1;
}

} // namespace KeyStrokeMap

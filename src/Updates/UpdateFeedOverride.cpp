#include "Updates/UpdateFeedOverride.h"

#include <QSettings>
#include <QVariant>

namespace UpdateFeedOverride {

namespace {

// Text, or a number given as text; lists, maps and the like are not an address.
std::optional<QString> storedString(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::QString:
    case QMetaType::QByteArray:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
        return value.toString();
    default:
        return std::nullopt;
    }
}

} // namespace

std::optional<QString> urlString(const QSettings& defaults) {
    const std::optional<QString> stored = storedString(defaults.value(QLatin1String(key)));
    if (!stored) return std::nullopt;
    QString trimmed = stored->trimmed();
    if (trimmed.isEmpty()) return std::nullopt;
    return trimmed;
}

} // namespace UpdateFeedOverride

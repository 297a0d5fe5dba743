#include "BundleDictionary.h"

#include <QVariant>

namespace {

const QString identifierKey = QStringLiteral("CFBundleIdentifier");
const QString displayNameKey = QStringLiteral("CFBundleDisplayName");
const QString nameKey = QStringLiteral("CFBundleName");
const QString agentOnlyKey = QStringLiteral("LSUIElement");

QString stringOf(const QVariantMap& dictionary, const QString& key) {
    const QVariant value = dictionary.value(key);
    if (value.typeId() != QMetaType::QString) return {};
    return value.toString();
}

// A flag: numbers and booleans by their truth value; a string only when it is "1" or "true"
// in any case, so a bundle saying "YES" is still offered.
bool flagOf(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool();
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::Char:
    case QMetaType::SChar:
        return value.toLongLong() != 0;
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
    case QMetaType::UShort:
    case QMetaType::UChar:
        return value.toULongLong() != 0;
    case QMetaType::Double:
    case QMetaType::Float:
        return value.toDouble() != 0.0;
    case QMetaType::QString: {
        const QString text = value.toString();
        return text == QLatin1String("1") || text.toLower() == QLatin1String("true");
    }
    default:
        return false;
    }
}

} // namespace

BundleInfo BundleDictionary::toBundleInfo(const QVariantMap& info, const QVariantMap& localizedInfo) {
    BundleInfo bundle;
    bundle.identifier = stringOf(info, identifierKey);
    for (const QVariantMap* dictionary : {&localizedInfo, &info}) {
        for (const QString& key : {displayNameKey, nameKey}) {
            const QString name = stringOf(*dictionary, key);
            if (!name.isEmpty() && !bundle.names.contains(name)) bundle.names.append(name);
        }
    }
    bundle.agentOnly = flagOf(info.value(agentOnlyKey));
    return bundle;
}

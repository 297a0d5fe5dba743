#pragma once

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

/// Whether every string and member name in the JSON text is valid UTF-16 once read. Qt's
/// reader lets "\ud800" alone through; such text cannot be written as UTF-8, so a file that
/// holds it is saved back with U+FFFD in its place and reads back different.
namespace ValidText {

inline bool in(const QJsonValue& value) {
    if (value.isString()) return QStringView(value.toString()).isValidUtf16();
    if (value.isArray()) {
        for (const QJsonValue& element : value.toArray())
            if (!in(element)) return false;
    }
    if (value.isObject()) {
        const QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it)
            if (!QStringView(it.key()).isValidUtf16() || !in(it.value())) return false;
    }
    return true;
}

inline bool in(const QByteArray& json) {
    const QJsonDocument document = QJsonDocument::fromJson(json);
    return document.isArray() ? in(QJsonValue(document.array())) : in(QJsonValue(document.object()));
}

} // namespace ValidText

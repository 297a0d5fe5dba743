#include "InventoryJson.h"

#include "Support/JsonWriter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QVariant>

#include <cmath>
#include <concepts>
#include <utility>

namespace InventoryJson {

// ---- Writing ----

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

// ---- Reading ----

namespace {

bool decode(const QJsonObject& json, const QString& path, RectDTO& out, QString& error);
bool decode(const QJsonObject& json, const QString& path, DisplayInfo& out, QString& error);
bool decode(const QJsonObject& json, const QString& path, WindowRecord& out, QString& error);
bool decode(const QJsonObject& json, const QString& path, AppGroup& out, QString& error);
bool decode(const QJsonObject& json, const QString& path, WindowInventory& out, QString& error);

template <typename Int> constexpr const char* integerName() {
    if constexpr (std::same_as<Int, std::uint32_t>)
        return "an unsigned 32-bit integer";
    else if constexpr (std::same_as<Int, std::int32_t>)
        return "a signed 32-bit integer";
    else if constexpr (std::same_as<Int, std::uint64_t>)
        return "an unsigned 64-bit integer";
    else
        return "a signed 64-bit integer";
}

// Each convert() turns one JSON value into a field, or says what was wrong with it.
bool convert(const QJsonValue& json, double& out, QString& problem) {
    if (!json.isDouble()) {
        problem = QStringLiteral("expected a number");
        return false;
    }
    out = json.toDouble();
    return true;
}

bool convert(const QJsonValue& json, bool& out, QString& problem) {
    if (!json.isBool()) {
        problem = QStringLiteral("expected a boolean");
        return false;
    }
    out = json.toBool();
    return true;
}

bool convert(const QJsonValue& json, QString& out, QString& problem) {
    if (!json.isString()) {
        problem = QStringLiteral("expected a string");
        return false;
    }
    out = json.toString();
    return true;
}

bool convert(const QJsonValue& json, QDateTime& out, QString& problem) {
    if (json.isString()) out = QDateTime::fromString(json.toString(), Qt::ISODateWithMs);
    if (!json.isString() || !out.isValid()) {
        problem = QStringLiteral("expected an ISO-8601 date and time");
        return false;
    }
    return true;
}

// The JSON reader keeps a whole number as a signed 64-bit integer when it fits and as a double
// otherwise; a double beyond that range has been rounded, so it is refused rather than read
// wrong (an unsigned 64-bit value above the signed maximum cannot be read back exactly).
template <typename Int>
requires(std::integral<Int> && !std::same_as<Int, bool>) bool convert(const QJsonValue& json, Int& out,
                                                                      QString& problem) {
    if (!json.isDouble()) {
        problem = QStringLiteral("expected a number");
        return false;
    }
    qint64 whole = 0;
    const QVariant held = json.toVariant();
    if (held.typeId() == QMetaType::LongLong) {
        whole = held.toLongLong();
    } else {
        constexpr double limit = 9223372036854775808.0; // 2^63
        const double number = json.toDouble();
        if (number != std::trunc(number)) {
            problem = QStringLiteral("expected a whole number");
            return false;
        }
        if (number < -limit || number >= limit) {
            problem = QStringLiteral("expected %1").arg(QLatin1String(integerName<Int>()));
            return false;
        }
        whole = static_cast<qint64>(number);
    }
    if (!std::in_range<Int>(whole)) {
        problem = QStringLiteral("expected %1").arg(QLatin1String(integerName<Int>()));
        return false;
    }
    out = static_cast<Int>(whole);
    return true;
}

/// The members of one JSON object being read into a value of `type`. The first problem
/// becomes the error text and stops the reading.
class Fields {
  public:
    Fields(const char* type, QString path, QJsonObject json, QString& error)
        : type_(QLatin1String(type)), path_(std::move(path)), json_(std::move(json)), error_(error) {}

    template <typename T> bool read(QStringView key, T& out) {
        QJsonValue value;
        QString problem;
        if (!take(key, value)) return false;
        return convert(value, out, problem) || fail(key, problem);
    }

    /// A missing key and null both leave the value absent.
    template <typename T> bool read(QStringView key, std::optional<T>& out) {
        const QJsonValue value = json_.value(key);
        if (value.isUndefined() || value.isNull()) {
            out.reset();
            return true;
        }
        T present{};
        QString problem;
        if (!convert(value, present, problem)) return fail(key, problem);
        out = std::move(present);
        return true;
    }

    template <typename T> bool read(QStringView key, std::vector<T>& out) {
        QJsonArray items;
        if (!array(key, items)) return false;
        out.clear();
        out.reserve(static_cast<std::size_t>(items.size()));
        for (qsizetype i = 0; i < items.size(); ++i) {
            T item{};
            QString problem;
            if (!convert(items.at(i), item, problem)) return fail(key, itemProblem(i, problem));
            out.push_back(std::move(item));
        }
        return true;
    }

    /// A member that is itself an object.
    template <typename T> bool object(QStringView key, T& out) {
        QJsonValue value;
        if (!take(key, value)) return false;
        if (!value.isObject()) return fail(key, QStringLiteral("expected an object"));
        return decode(value.toObject(), pathOf(key), out, error_);
    }

    /// A member that is an array of objects.
    template <typename T> bool objects(QStringView key, std::vector<T>& out) {
        QJsonArray items;
        if (!array(key, items)) return false;
        out.clear();
        out.reserve(static_cast<std::size_t>(items.size()));
        for (qsizetype i = 0; i < items.size(); ++i) {
            const QJsonValue item = items.at(i);
            if (!item.isObject()) return fail(key, itemProblem(i, QStringLiteral("expected an object")));
            T value{};
            if (!decode(item.toObject(), pathOf(key) + u'[' + QString::number(i) + u']', value, error_))
                return false;
            out.push_back(std::move(value));
        }
        return true;
    }

  private:
    bool take(QStringView key, QJsonValue& out) {
        out = json_.value(key);
        return !out.isUndefined() || fail(key, QStringLiteral("missing"));
    }

    bool array(QStringView key, QJsonArray& out) {
        QJsonValue value;
        if (!take(key, value)) return false;
        if (!value.isArray()) return fail(key, QStringLiteral("expected an array"));
        out = value.toArray();
        return true;
    }

    QString pathOf(QStringView key) const {
        return path_.isEmpty() ? key.toString() : path_ + u'.' + key.toString();
    }

    static QString itemProblem(qsizetype index, const QString& problem) {
        return QStringLiteral("item %1: %2").arg(index).arg(problem);
    }

    bool fail(QStringView key, const QString& problem) {
        error_ = type_ + QStringLiteral(": key \"") + key.toString() + u'"';
        if (!path_.isEmpty()) error_ += QStringLiteral(" at ") + path_;
        error_ += QStringLiteral(": ") + problem;
        return false;
    }

    QString type_;
    QString path_;
    QJsonObject json_;
    QString& error_;
};

bool decode(const QJsonObject& json, const QString& path, RectDTO& out, QString& error) {
    Fields fields("RectDTO", path, json, error);
    return fields.read(u"x", out.x) && fields.read(u"y", out.y) && fields.read(u"width", out.width) &&
           fields.read(u"height", out.height);
}

bool decode(const QJsonObject& json, const QString& path, DisplayInfo& out, QString& error) {
    Fields fields("DisplayInfo", path, json, error);
    return fields.read(u"id", out.id) && fields.read(u"name", out.name) &&
           fields.object(u"frame", out.frame) && fields.read(u"isMain", out.isMain);
}

bool decode(const QJsonObject& json, const QString& path, WindowRecord& out, QString& error) {
    Fields fields("WindowRecord", path, json, error);
    return fields.read(u"id", out.id) && fields.read(u"pid", out.pid) &&
           fields.read(u"appName", out.appName) && fields.read(u"bundleID", out.bundleID) &&
           fields.read(u"title", out.title) && fields.object(u"frame", out.frame) &&
           fields.read(u"isOnscreen", out.isOnscreen) && fields.read(u"displayID", out.displayID) &&
           fields.read(u"displayName", out.displayName) && fields.read(u"spaceID", out.spaceID) &&
           fields.read(u"spaceLabel", out.spaceLabel);
}

bool decode(const QJsonObject& json, const QString& path, AppGroup& out, QString& error) {
    Fields fields("AppGroup", path, json, error);
    return fields.read(u"appName", out.appName) && fields.read(u"bundleID", out.bundleID) &&
           fields.read(u"pids", out.pids) && fields.read(u"windowCount", out.windowCount) &&
           fields.read(u"displayNames", out.displayNames) && fields.read(u"spaceLabels", out.spaceLabels) &&
           fields.objects(u"windows", out.windows);
}

bool decode(const QJsonObject& json, const QString& path, WindowInventory& out, QString& error) {
    Fields fields("WindowInventory", path, json, error);
    return fields.read(u"collectedAt", out.collectedAt) &&
           fields.read(u"spaceInfoAvailable", out.spaceInfoAvailable) &&
           fields.objects(u"displays", out.displays) && fields.objects(u"apps", out.apps) &&
           fields.read(u"unassignedCount", out.unassignedCount);
}

template <typename T> Decoded<T> decodeDocument(const QByteArray& bytes, const char* type) {
    Decoded<T> result;
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        result.error = QStringLiteral("%1: not valid JSON: %2 at offset %3")
                           .arg(QLatin1String(type), parseError.errorString())
                           .arg(parseError.offset);
        return result;
    }
    if (!document.isObject()) {
        result.error = QStringLiteral("%1: expected a JSON object").arg(QLatin1String(type));
        return result;
    }
    T value{};
    if (decode(document.object(), QString(), value, result.error)) result.value = std::move(value);
    return result;
}

} // namespace

Decoded<RectDTO> decodeRectDTO(const QByteArray& json) {
    return decodeDocument<RectDTO>(json, "RectDTO");
}
Decoded<DisplayInfo> decodeDisplayInfo(const QByteArray& json) {
    return decodeDocument<DisplayInfo>(json, "DisplayInfo");
}
Decoded<WindowRecord> decodeWindowRecord(const QByteArray& json) {
    return decodeDocument<WindowRecord>(json, "WindowRecord");
}
Decoded<AppGroup> decodeAppGroup(const QByteArray& json) {
    return decodeDocument<AppGroup>(json, "AppGroup");
}
Decoded<WindowInventory> decodeWindowInventory(const QByteArray& json) {
    return decodeDocument<WindowInventory>(json, "WindowInventory");
}

} // namespace InventoryJson

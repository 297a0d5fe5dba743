#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

/// A small compact JSON encoder: members come out in the order they are written, with no
/// spaces or line breaks, and a forward slash in a string is escaped as `\/`, which is the
/// form our data files have always used.
class JsonWriter {
public:
    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    /// Names the next member of the enclosing object.
    JsonWriter& key(QStringView name);

    JsonWriter& value(QStringView text);
    JsonWriter& value(const QString& text) { return value(QStringView(text)); }
    JsonWriter& value(const char* text) { return value(QString::fromUtf8(text)); }
    // Without this, a u"" literal would silently pick the bool overload.
    JsonWriter& value(const char16_t* text) { return value(QStringView(text)); }
    JsonWriter& value(std::int64_t number);
    JsonWriter& value(std::uint64_t number);
    JsonWriter& value(std::int32_t number) { return value(static_cast<std::int64_t>(number)); }
    JsonWriter& value(std::uint32_t number) { return value(static_cast<std::uint64_t>(number)); }
    /// Shortest text that reads back to the same double; integral values have no fraction.
    /// JSON has no NaN or infinity: those are written as null.
    JsonWriter& value(double number);
    JsonWriter& value(bool flag);
    JsonWriter& null();

    /// Writes the value, or null when it is absent.
    template <typename T> JsonWriter& value(const std::optional<T>& maybe) {
        return maybe ? value(*maybe) : null();
    }

    /// The text written so far.
    const QByteArray& bytes() const { return out_; }

    /// Appends `text` as a quoted, escaped JSON string.
    static void appendString(QByteArray& out, QStringView text);

private:
    void separate();

    QByteArray out_;
    std::vector<bool> needsComma_;
    bool afterKey_ = false;
};

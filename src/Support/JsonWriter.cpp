#include "JsonWriter.h"

#include <charconv>
#include <cmath>

void JsonWriter::separate() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!needsComma_.empty()) {
        if (needsComma_.back()) out_.append(',');
        needsComma_.back() = true;
    }
}

JsonWriter& JsonWriter::beginObject() {
    separate();
    out_.append('{');
    needsComma_.push_back(false);
    return *this;
}

JsonWriter& JsonWriter::endObject() {
    out_.append('}');
    needsComma_.pop_back();
    return *this;
}

JsonWriter& JsonWriter::beginArray() {
    separate();
    out_.append('[');
    needsComma_.push_back(false);
    return *this;
}

JsonWriter& JsonWriter::endArray() {
    out_.append(']');
    needsComma_.pop_back();
    return *this;
}

JsonWriter& JsonWriter::key(QStringView name) {
    separate();
    appendString(out_, name);
    out_.append(':');
    afterKey_ = true;
    return *this;
}

JsonWriter& JsonWriter::value(QStringView text) {
    separate();
    appendString(out_, text);
    return *this;
}

JsonWriter& JsonWriter::value(std::int64_t number) {
    separate();
    out_.append(QByteArray::number(static_cast<qlonglong>(number)));
    return *this;
}

JsonWriter& JsonWriter::value(std::uint64_t number) {
    separate();
    out_.append(QByteArray::number(static_cast<qulonglong>(number)));
    return *this;
}

JsonWriter& JsonWriter::value(double number) {
    if (!std::isfinite(number)) return null();
    separate();
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, number);
    out_.append(buffer, ec == std::errc() ? int(end - buffer) : 0);
    return *this;
}

JsonWriter& JsonWriter::value(bool flag) {
    separate();
    out_.append(flag ? "true" : "false");
    return *this;
}

JsonWriter& JsonWriter::null() {
    separate();
    out_.append("null");
    return *this;
}

void JsonWriter::appendString(QByteArray& out, QStringView text) {
    static const char hex[] = "0123456789abcdef";
    const QByteArray utf8 = text.toUtf8();
    out.reserve(out.size() + utf8.size() + 2);
    out.append('"');
    for (char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '"': out.append("\\\""); break;
        case '\\': out.append("\\\\"); break;
        case '/': out.append("\\/"); break;
        case '\b': out.append("\\b"); break;
        case '\f': out.append("\\f"); break;
        case '\n': out.append("\\n"); break;
        case '\r': out.append("\\r"); break;
        case '\t': out.append("\\t"); break;
        default:
            if (byte < 0x20) {
                const char escaped[] = {'\\', 'u', '0', '0', hex[byte >> 4], hex[byte & 0xF]};
                out.append(escaped, sizeof escaped);
            } else {
                out.append(c);
            }
        }
    }
    out.append('"');
}

#pragma once

#include <QMetaType>
#include <QVariant>

#include <cmath>
#include <limits>
#include <optional>
#include <utility>

/// Number values of property-list shaped answers. Any numeric QVariant counts as a number, as
/// a number object of any width would; booleans, strings and containers do not.
namespace PlistNumber {

inline bool isFloating(const QVariant& value) {
    const int type = value.typeId();
    return type == QMetaType::Double || type == QMetaType::Float;
}

inline bool isNumber(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

/// The number's floating value; nothing when it is not a number.
inline std::optional<double> doubleValue(const QVariant& value) {
    if (!isNumber(value)) return std::nullopt;
    return value.toDouble();
}

/// The number's integer value (a floating value truncated toward zero) as `T`; nothing when
/// it is not a number or the value does not fit `T`. Window numbers, pids and Space ids are
/// read this way, so an out-of-range value never wraps into someone else's id.
template <class T> std::optional<T> integerValue(const QVariant& value) {
    static_assert(std::numeric_limits<T>::is_integer);
    if (!isNumber(value)) return std::nullopt;
    if (isFloating(value)) {
        const double d = std::trunc(value.toDouble());
        if (!std::isfinite(d)) return std::nullopt;
        // Both bounds are exact powers of two, so the comparison is exact.
        const double lower =
            std::numeric_limits<T>::is_signed ? -std::ldexp(1.0, std::numeric_limits<T>::digits) : 0.0;
        const double upperExclusive = std::ldexp(1.0, std::numeric_limits<T>::digits);
        if (d < lower || d >= upperExclusive) return std::nullopt;
        return static_cast<T>(d);
    }
    const int type = value.typeId();
    const bool unsignedSource = type == QMetaType::UInt || type == QMetaType::ULongLong ||
                                type == QMetaType::ULong || type == QMetaType::UShort ||
                                type == QMetaType::UChar;
    if (unsignedSource) {
        const qulonglong v = value.toULongLong();
        if (!std::in_range<T>(v)) return std::nullopt;
        return static_cast<T>(v);
    }
    const qlonglong v = value.toLongLong();
    if (!std::in_range<T>(v)) return std::nullopt;
    return static_cast<T>(v);
}

} // namespace PlistNumber

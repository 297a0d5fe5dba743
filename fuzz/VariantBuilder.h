#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <QString>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

/// Builds property-list shaped values (numbers of every width, booleans, strings, lists and
/// dictionaries) from fuzz bytes. Dictionary keys are mostly drawn from the names the code
/// under test looks up, so the fuzzer reaches past the first type check.
class VariantBuilder {
public:
    VariantBuilder(FuzzedDataProvider& data, std::vector<QString> keys) : data_(data), keys_(std::move(keys)) {}

    QVariant value(int depth) {
        switch (data_.ConsumeIntegralInRange<int>(0, depth > 0 ? 12 : 10)) {
        case 0:
            return data_.ConsumeIntegral<int>();
        case 1:
            return data_.ConsumeIntegral<unsigned>();
        case 2:
            return QVariant::fromValue(data_.ConsumeIntegral<qlonglong>());
        case 3:
            return QVariant::fromValue(data_.ConsumeIntegral<qulonglong>());
        case 4:
            return number();
        case 5:
            return float(number());
        case 6:
            return data_.ConsumeBool();
        case 7:
            return QVariant::fromValue(data_.ConsumeIntegral<std::int16_t>());
        case 8:
            return QVariant::fromValue(data_.ConsumeIntegral<std::uint8_t>());
        case 9:
            return text();
        case 10:
            return QVariant();
        case 11:
            return list(depth - 1);
        default:
            return map(depth - 1);
        }
    }

    QVariantMap map(int depth) {
        QVariantMap result;
        const int members = data_.ConsumeIntegralInRange<int>(0, 8);
        for (int i = 0; i < members && data_.remaining_bytes() > 0; ++i)
            result.insert(key(), value(depth));
        return result;
    }

    QVariantList list(int depth) {
        QVariantList result;
        const int elements = data_.ConsumeIntegralInRange<int>(0, 8);
        for (int i = 0; i < elements && data_.remaining_bytes() > 0; ++i)
            result.append(value(depth));
        return result;
    }

    QString key() {
        const auto pick = data_.ConsumeIntegralInRange<std::size_t>(0, keys_.size());
        return pick < keys_.size() ? keys_[pick] : text();
    }

    QString text() { return QString::fromStdString(data_.ConsumeRandomLengthString(64)); }

    /// Ordinary values, and the awkward ones: infinities, NaN, values at the integer limits.
    double number() {
        switch (data_.ConsumeIntegralInRange<int>(0, 5)) {
        case 0:
            return std::numeric_limits<double>::infinity() * (data_.ConsumeBool() ? 1 : -1);
        case 1:
            return std::numeric_limits<double>::quiet_NaN();
        case 2:
            return std::ldexp(1.0, data_.ConsumeIntegralInRange<int>(30, 65)) * (data_.ConsumeBool() ? 1 : -1);
        case 3:
            return double(data_.ConsumeIntegralInRange<int>(-10, 10));
        default:
            return data_.ConsumeFloatingPoint<double>();
        }
    }

private:
    FuzzedDataProvider& data_;
    std::vector<QString> keys_;
};

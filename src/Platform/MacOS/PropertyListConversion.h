#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>

#include <cstdint>

/// What a value of a property-list tree is, as far as the conversion reads it.
enum class PropertyListKind { string, integer, floating, boolean, array, dictionary, other };

/// Turns a tree of property-list values (a window list, a Space list, an information
/// dictionary, an Accessibility answer) into Qt values in one pass, the same way whatever the
/// system's value type. `Access` opens the tree's values; it is the only part that knows them:
///
///   using Value = ...;                                   // a borrowed reference
///   PropertyListKind kind(Value) const;
///   QString string(Value) const;
///   std::int64_t integer(Value) const;
///   double floating(Value) const;
///   bool boolean(Value) const;
///   qsizetype count(Value) const;                        // an array's
///   Value element(Value, qsizetype index) const;
///   template <class F> void forEachEntry(Value, F&&) const;  // a dictionary's (key, value)
///   QVariant other(Value) const;                         // whatever else the tree holds
///
/// Arrays become QVariantList and dictionaries QVariantMap. A dictionary with a key that is not
/// a string, a value that `other` leaves null, and anything nested deeper than `maxDepth`
/// become a null QVariant, which every reader treats as a value of no kind it knows, so it is
/// skipped at the smallest level possible.
namespace PropertyList {

/// Far deeper than any answer the system gives; a guard against a tree that refers to itself.
inline constexpr int maxDepth = 32;

template <class Access>
QVariant toVariant(const Access& access, typename Access::Value value, int depth = 0) {
    if (depth > maxDepth) return {};
    switch (access.kind(value)) {
    case PropertyListKind::string:
        return access.string(value);
    case PropertyListKind::integer:
        return QVariant::fromValue(static_cast<qlonglong>(access.integer(value)));
    case PropertyListKind::floating:
        return access.floating(value);
    case PropertyListKind::boolean:
        return access.boolean(value);
    case PropertyListKind::array: {
        const qsizetype count = access.count(value);
        QVariantList list;
        list.reserve(count);
        for (qsizetype i = 0; i < count; ++i)
            list.append(toVariant(access, access.element(value, i), depth + 1));
        return list;
    }
    case PropertyListKind::dictionary: {
        QVariantMap map;
        bool stringKeys = true;
        access.forEachEntry(value, [&](typename Access::Value key, typename Access::Value entry) {
            if (access.kind(key) != PropertyListKind::string) {
                stringKeys = false;
                return;
            }
            map.insert(access.string(key), toVariant(access, entry, depth + 1));
        });
        if (!stringKeys) return {};
        return map;
    }
    case PropertyListKind::other:
        break;
    }
    return access.other(value);
}

} // namespace PropertyList

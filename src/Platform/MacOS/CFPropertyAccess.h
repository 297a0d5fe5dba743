#pragma once

#include "Platform/MacOS/PropertyListConversion.h"

#include <CoreFoundation/CoreFoundation.h>

#include <vector>

/// Core Foundation values opened for PropertyList::toVariant. Every reference here is borrowed:
/// nothing is retained or released, so the caller keeps the tree alive while it converts.
/// Values of other types become a null QVariant unless a derived access says otherwise.
struct CFPropertyAccess {
    using Value = CFTypeRef;

    PropertyListKind kind(CFTypeRef value) const {
        if (value == nullptr) return PropertyListKind::other;
        const CFTypeID type = CFGetTypeID(value);
        if (type == CFStringGetTypeID()) return PropertyListKind::string;
        // Booleans have a type of their own; they are never numbers here.
        if (type == CFBooleanGetTypeID()) return PropertyListKind::boolean;
        if (type == CFNumberGetTypeID()) {
            const auto number = static_cast<CFNumberRef>(value);
            if (CFNumberIsFloatType(number)) return PropertyListKind::floating;
            // An integer wider than 64 signed bits is no window number, pid or Space id: rather
            // than an approximation, it reads as nothing.
            std::int64_t probe = 0;
            return CFNumberGetValue(number, kCFNumberSInt64Type, &probe) ? PropertyListKind::integer
                                                                         : PropertyListKind::other;
        }
        if (type == CFArrayGetTypeID()) return PropertyListKind::array;
        if (type == CFDictionaryGetTypeID()) return PropertyListKind::dictionary;
        return PropertyListKind::other;
    }
    QString string(CFTypeRef value) const { return QString::fromCFString(static_cast<CFStringRef>(value)); }
    std::int64_t integer(CFTypeRef value) const {
        std::int64_t number = 0;
        CFNumberGetValue(static_cast<CFNumberRef>(value), kCFNumberSInt64Type, &number);
        return number;
    }
    double floating(CFTypeRef value) const {
        double number = 0;
        CFNumberGetValue(static_cast<CFNumberRef>(value), kCFNumberDoubleType, &number);
        return number;
    }
    bool boolean(CFTypeRef value) const { return CFBooleanGetValue(static_cast<CFBooleanRef>(value)) != 0; }
    qsizetype count(CFTypeRef value) const { return CFArrayGetCount(static_cast<CFArrayRef>(value)); }
    CFTypeRef element(CFTypeRef value, qsizetype index) const {
        return CFArrayGetValueAtIndex(static_cast<CFArrayRef>(value), index);
    }
    template <class F> void forEachEntry(CFTypeRef value, F&& visit) const {
        const auto dictionary = static_cast<CFDictionaryRef>(value);
        const CFIndex count = CFDictionaryGetCount(dictionary);
        std::vector<const void*> keys(static_cast<std::size_t>(count));
        std::vector<const void*> values(static_cast<std::size_t>(count));
        CFDictionaryGetKeysAndValues(dictionary, keys.data(), values.data());
        for (std::size_t i = 0; i < keys.size(); ++i)
            visit(keys[i], values[i]);
    }
    QVariant other(CFTypeRef) const { return {}; }
};

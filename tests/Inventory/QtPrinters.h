#pragma once

#include "Inventory/WindowRecord.h"

#include <QString>

#include <ostream>

// Readable failure messages for Qt strings and records, instead of byte dumps.

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const WindowRecord& r, std::ostream* out) {
    const auto opt = [](const auto& value) {
        if (!value) return std::string("null");
        if constexpr (std::is_same_v<std::decay_t<decltype(*value)>, QString>)
            return '"' + value->toStdString() + '"';
        else
            return std::to_string(*value);
    };
    *out << "{id " << r.id << ", pid " << r.pid << ", app \"" << r.appName.toStdString() << "\", bundle "
         << opt(r.bundleID) << ", title " << opt(r.title) << ", frame (" << r.frame.x << ',' << r.frame.y
         << ' ' << r.frame.width << 'x' << r.frame.height << "), onscreen " << r.isOnscreen << ", display "
         << opt(r.displayID) << ' ' << opt(r.displayName) << ", space " << opt(r.spaceID) << ' '
         << opt(r.spaceLabel) << '}';
}

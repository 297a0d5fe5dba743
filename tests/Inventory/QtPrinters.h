#pragma once

#include <QString>

#include <ostream>

// Readable failure messages for Qt strings, instead of byte dumps.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

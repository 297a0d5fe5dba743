#pragma once

#include "Updates/UpdateCheckState.h"

#include <ostream>

// Readable failures: gtest prints a state as its kind (idle, checking, downloading, up to date,
// failed) and its payload.
inline void PrintTo(const UpdateCheckState& state, std::ostream* out) {
    *out << "kind " << int(state.kind()) << " (" << state.fraction() << ", \""
         << state.message().toStdString() << "\")";
}

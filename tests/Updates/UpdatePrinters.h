#pragma once

#include "Updates/UpdateCheckState.h"

#include <ostream>

// Readable failures: gtest prints states as their kind and payload.
inline void PrintTo(const UpdateCheckState& state, std::ostream* out) {
    switch (state.kind()) {
    case UpdateCheckState::Kind::idle:
        *out << "idle";
        break;
    case UpdateCheckState::Kind::checking:
        *out << "checking";
        break;
    case UpdateCheckState::Kind::downloading:
        *out << "downloading(" << state.fraction() << ")";
        break;
    case UpdateCheckState::Kind::upToDate:
        *out << "upToDate";
        break;
    case UpdateCheckState::Kind::failed:
        *out << "failed(\"" << state.message().toStdString() << "\")";
        break;
    }
}

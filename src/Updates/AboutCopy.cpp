#include "Updates/AboutCopy.h"

#include <cmath>

namespace AboutCopy {

int percent(double fraction) {
    // Written so that NaN lands on 0.
    if (!(fraction > 0.0)) return 0;
    if (fraction > 1.0) return 100;
    return static_cast<int>(std::round(fraction * 100.0));
}

QString packageManagerNote() {
    return QStringLiteral("Updates come from your system's package manager.");
}

QString status(const UpdateCheckState& state) {
    switch (state.kind()) {
    case UpdateCheckState::Kind::idle:
        return QStringLiteral("Manual check only \u2014 automatic updates are off.");
    case UpdateCheckState::Kind::checking:
        return QStringLiteral("Checking for updates\u2026");
    case UpdateCheckState::Kind::downloading:
        return QStringLiteral("Downloading update\u2026 %1%").arg(percent(state.fraction()));
    case UpdateCheckState::Kind::upToDate:
        return QStringLiteral("You're up to date.");
    case UpdateCheckState::Kind::failed:
        return QStringLiteral("Update failed: ") + state.message();
    }
    return {};
}

} // namespace AboutCopy

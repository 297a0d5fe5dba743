#include "ModifierState.h"

#include "Platform/TapEvent.h"

bool ModifierState::handleKeyDown(std::uint64_t flags) {
    if ((flags & EventFlag::command) == 0) {
        reset();
        return false;
    }
    if (!rightCommandDown || leftCommandDown) return false;
    return (flags & (EventFlag::shift | EventFlag::option | EventFlag::control)) == 0;
}

void ModifierState::handleFlagsChanged(std::int64_t keyCode, std::uint64_t flags) {
    const bool down = (flags & EventFlag::command) != 0;
    if (keyCode == CommandKey::right) rightCommandDown = down;
    if (keyCode == CommandKey::left) leftCommandDown = down;
}

QString ModifierState::commandState() const {
    return QStringLiteral("rightCmd=%1 leftCmd=%2")
        .arg(rightCommandDown ? QStringLiteral("true") : QStringLiteral("false"),
             leftCommandDown ? QStringLiteral("true") : QStringLiteral("false"));
}

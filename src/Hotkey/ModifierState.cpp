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

bool ModifierState::commandKeyDown(std::int64_t keyCode, std::uint64_t flags) {
    const std::uint64_t eitherKey = EventFlag::leftCommandKey | EventFlag::rightCommandKey;
    if ((flags & eitherKey) == 0) return (flags & EventFlag::command) != 0;
    const std::uint64_t thisKey =
        keyCode == CommandKey::right ? EventFlag::rightCommandKey : EventFlag::leftCommandKey;
    return (flags & thisKey) != 0;
}

void ModifierState::handleFlagsChanged(std::int64_t keyCode, std::uint64_t flags) {
    const bool down = commandKeyDown(keyCode, flags);
    if (keyCode == CommandKey::right) rightCommandDown = down;
    if (keyCode == CommandKey::left) leftCommandDown = down;
}

QString ModifierState::commandState() const {
    return QStringLiteral("rightCmd=%1 leftCmd=%2")
        .arg(rightCommandDown ? QStringLiteral("true") : QStringLiteral("false"),
             leftCommandDown ? QStringLiteral("true") : QStringLiteral("false"));
}

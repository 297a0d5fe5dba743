#include "SwayKeyboardTap.h"

#include "Support/HotkeyLog.h"
#include "SwayEventTap.h"
#include "SwayIpc.h"
#include "SwayKeySetup.h"

TapOpening SwayKeyboardTap::createKeyboardTap(Callback callback) {
    if (!SwayKeySetup::isInEffect(ipc_, SwayKeySetup::paths())) return {nullptr, TapFailure::setUpNeeded};
    auto tap = SwayEventTap::open(SwayIpc::socketPath(), std::move(callback));
    if (!tap) return {nullptr, TapFailure::noDisplay};
    return {std::move(tap), {}};
}

void SwayKeyboardTap::keysBound(const std::vector<std::int64_t>& keyCodes) {
    if (const auto error = SwayKeySetup::rebind(ipc_, SwayKeySetup::paths(), keyCodes))
        HotkeyLog::log(QStringLiteral("sway 绑定未更新：") + *error);
}

SetUpResult SwayKeyboardTap::setUp(const std::vector<std::int64_t>& keyCodes) {
    const SwayKeySetup::Result result = SwayKeySetup::write(ipc_, SwayKeySetup::paths(), keyCodes);
    return {result.error.isEmpty(), result.error.isEmpty() ? result.nextStep : result.error};
}

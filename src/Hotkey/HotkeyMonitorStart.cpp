// Installing the event tap, and waiting for the permissions it needs.
#include "HotkeyMonitor.h"

#include "Support/HotkeyLog.h"
#include "Platform/KeyboardTapPort.h"
#include "Platform/Platform.h"
#include "Platform/TimePort.h"
#include "Platform/WindowOperationsPort.h"
#include "Support/ThreadName.h"
#include "Switching/TrustPrompt.h"

#include <QCoreApplication>

namespace {
constexpr std::chrono::milliseconds permissionCheckInterval{3000};
}

void HotkeyMonitor::start(bool silent) {
    if (isStarted()) return;

    const bool trusted = Platform::current().windowOperations().isTrusted();
    if (!silent) {
        const QString exec = QCoreApplication::applicationFilePath();
        HotkeyLog::log(QStringLiteral("start: pid=") + QString::number(QCoreApplication::applicationPid()) +
                       QStringLiteral(" exec=") + (exec.isEmpty() ? QStringLiteral("?") : exec) +
                       QStringLiteral(" trusted=") + (trusted ? QStringLiteral("true") : QStringLiteral("false")));
    }

    if (!trusted) {
        if (!silent) {
            TrustPrompt::requestOnce();
            report(QStringLiteral("Listening permission not granted: System Settings → Privacy & Security → "
                                  "Accessibility, enable Kestavon"));
            HotkeyLog::log(QStringLiteral("start 失败：无辅助功能权限，tap 未安装"));
        }
        if (permissionIssue_ != PermissionIssue::accessibility) setPermissionIssue(PermissionIssue::accessibility);
        armPermissionCheck();
        return;
    }

    TapOpening opening = Platform::current().keyboardTap().createKeyboardTap(
        [this](std::uint32_t type, const TapEvent& event) { return decide(type, event) == Decision::swallow; });
    std::shared_ptr<EventTap> tap = std::move(opening.tap);
    if (!tap) {
        if (permissionIssue_ != PermissionIssue::inputMonitoring) setPermissionIssue(PermissionIssue::inputMonitoring);
        if (!silent) {
            report(QStringLiteral("Hotkey listener creation failed (Input Monitoring permission may also be required)"));
            HotkeyLog::log(QStringLiteral("start 失败：tapCreate 返回 nil（辅助功能已给，事件监听仍被拒）"));
        }
        armPermissionCheck();
        return;
    }

    setTap(tap);
    const bool hadIssue = permissionIssue_.has_value();
    if (hadIssue) setPermissionIssue(std::nullopt);
    if (permissionCheckTimer_) {
        permissionCheckTimer_->invalidate();
        permissionCheckTimer_.reset();
    }
    if (hadIssue) report(QStringLiteral("Listening permission granted — hotkeys are ready"));

    tapThread_ = std::thread([this, tap] { runTap(tap); });
    HotkeyLog::log(QStringLiteral("start 成功：tap 已安装，右 Command + 键帽可用"));
}

void HotkeyMonitor::runTap(std::shared_ptr<EventTap> tap) {
    ThreadName::setCurrent("kestavon.hotkey.tap");
    tap->setEnabled(true);
    tap->run();
}

void HotkeyMonitor::armPermissionCheck() {
    if (permissionCheckTimer_) return;
    permissionCheckTimer_ = Platform::current().time().scheduleRepeating(permissionCheckInterval, [this] {
        if (!isStarted() && Platform::current().windowOperations().isTrusted()) start(true);
    });
}

// Installing the event tap, and waiting until it can be installed.
#include "HotkeyMonitor.h"

#include "Platform/KeyStrokeMap.h"
#include "Platform/KeyboardTapPort.h"
#include "Platform/Platform.h"
#include "Platform/PlatformWords.h"
#include "Platform/TimePort.h"
#include "Platform/WindowOperationsPort.h"
#include "Support/HotkeyLog.h"
#include "Support/ThreadName.h"
#include "Switching/TrustPrompt.h"

#include <QCoreApplication>

#include <algorithm>

namespace {
constexpr std::chrono::milliseconds permissionCheckInterval{3000};

// The legends of the bindable keys among `codes`, in layout order.
QStringList legends(const std::vector<std::int64_t>& codes) {
    QStringList out;
    for (const KeyStrokeMap::Key& key : KeyStrokeMap::table()) {
        if (std::find(codes.begin(), codes.end(), key.code) != codes.end())
            out.append(QString(QChar(key.label)).toUpper());
    }
    return out;
}
} // namespace

void HotkeyMonitor::start(bool silent) {
    if (isStarted()) return;

    Platform& platform = Platform::current();
    const PlatformWords& words = platform.words();
    const bool trusted = platform.windowOperations().isTrusted();
    if (!silent) {
        const QString exec = QCoreApplication::applicationFilePath();
        HotkeyLog::log(QStringLiteral("start: pid=") + QString::number(QCoreApplication::applicationPid()) +
                       QStringLiteral(" exec=") + (exec.isEmpty() ? QStringLiteral("?") : exec) +
                       QStringLiteral(" trusted=") + (trusted ? QStringLiteral("true") : QStringLiteral("false")));
    }

    if (!trusted) {
        if (!silent) {
            TrustPrompt::requestOnce();
            report(words.notTrusted.text);
            HotkeyLog::log(QStringLiteral("start 失败：无辅助功能权限，tap 未安装"));
        }
        setPermissionIssue(PermissionIssue::accessibility);
        armPermissionCheck();
        return;
    }

    TapOpening opening = platform.keyboardTap().createKeyboardTap(
        [this](std::uint32_t type, const TapEvent& event) { return decide(type, event) == Decision::swallow; });
    std::shared_ptr<EventTap> tap = std::move(opening.tap);
    if (!tap) {
        const PermissionIssue issue = issueFor(opening.failure);
        setPermissionIssue(issue);
        if (!silent) {
            report(troubleWords(issue, words).text);
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
    if (hadIssue) report(words.nowListening);
    const QStringList taken = legends(tap->keysTaken());
    const bool triggerTaken = tap->triggerKeyTaken();
    if (taken != keysTaken_ || triggerTaken != triggerKeyTaken_) {
        keysTaken_ = taken;
        triggerKeyTaken_ = triggerTaken;
        emit keysTakenChanged();
    }

    tapThread_ = std::thread([this, tap] { runTap(tap); });
    HotkeyLog::log(QStringLiteral("start 成功：tap 已安装，右 Command + 键帽可用"));
}

void HotkeyMonitor::runTap(std::shared_ptr<EventTap> tap) {
    ThreadName::setCurrent(QStringLiteral("kestavon.hotkey.tap"));
    tap->setEnabled(true);
    tap->run();
}

void HotkeyMonitor::armPermissionCheck() {
    if (permissionCheckTimer_) return;
    permissionCheckTimer_ = Platform::current().time().scheduleRepeating(permissionCheckInterval, [this] {
        if (!isStarted() && Platform::current().windowOperations().isTrusted()) start(true);
    });
}

#include "StrokeExecution.h"

#include "Support/HotkeyLog.h"
#include "Hotkey/HotkeyMonitor.h"
#include "Platform/Platform.h"
#include "Platform/TimePort.h"
#include "Platform/WorkspacePort.h"
#include "Stats/UsageStatsStore.h"
#include "Switching/SwitchService.h"

#include <QStringList>

#include <cmath>

namespace StrokeExecution {
namespace {

QString degradationText(Degradation degradation) {
    switch (degradation) {
    case Degradation::spaceSwitchSkipped: return QStringLiteral("Space not switched (app activated only)");
    case Degradation::minimizedNotRestored: return QStringLiteral("Minimized window not restored");
    case Degradation::activationFailed: return QStringLiteral("App not brought to front");
    }
    return {};
}

void finish(HotkeyMonitor& monitor, const QString& keyID, const QString& text) {
    HotkeyLog::log(QStringLiteral("hotkey[") + keyID + QStringLiteral("] ") + text);
    monitor.report(text);
}

void recordIfStarted(const AppLauncher::Outcome& outcome, const QString& appName, const QString& bundleID) {
    if (outcome.kind == AppLauncher::Outcome::Kind::started)
        UsageStatsStore::shared().recordSuccess(appName, bundleID);
}

void launchAndFinish(HotkeyMonitor& monitor, const QString& keyID, const AppEntry& entry) {
    const auto outcome = AppLauncher::launch(entry);
    recordIfStarted(outcome, entry.name, entry.bundleId);
    finish(monitor, keyID, describe(outcome));
}

bool isRunning(const QString& bundleId) {
    const auto apps = Platform::current().workspace().runningApplications();
    return std::any_of(apps.begin(), apps.end(),
                       [&](const RunningApplication& app) { return app.bundleIdentifier == bundleId; });
}

} // namespace

void execute(HotkeyMonitor& monitor, const QString& keyID, const AppEntry& entry) {
    run(monitor, keyID, HotkeyRouter::route(entry, isRunning));
}

void run(HotkeyMonitor& monitor, const QString& keyID, const HotkeyRouter::Route& route) {
    TimePort& time = Platform::current().time();
    const double start = time.now();
    // The front application is asked for the log line alone, and asking takes the window
    // server's time before the jump.
    const bool logging = HotkeyLog::shared().enabled();
    const QString frontBefore = logging ? frontAppName() : QString();

    if (const auto* launch = std::get_if<HotkeyRouter::Launch>(&route)) {
        launchAndFinish(monitor, keyID, launch->entry);
    } else if (const auto* present = std::get_if<HotkeyRouter::PresentThenLaunch>(&route)) {
        const AppTarget& target = present->target;
        const PresentOutcome outcome = SwitchService::present(target);
        switch (outcome.kind) {
        case PresentOutcome::Kind::presented:
            UsageStatsStore::shared().recordSuccess(target.appName, target.bundleID.value_or(QString()));
            finish(monitor, keyID, QStringLiteral("Switched to ") + target.appName);
            break;
        case PresentOutcome::Kind::noWindow:
            HotkeyLog::log(target.appName + QStringLiteral(" 在运行但无窗口，转为启动"));
            launchAndFinish(monitor, keyID, present->entry);
            break;
        case PresentOutcome::Kind::degraded: {
            UsageStatsStore::shared().recordSuccess(target.appName, target.bundleID.value_or(QString()));
            QStringList texts;
            for (Degradation degradation : outcome.degradations) texts.append(degradationText(degradation));
            finish(monitor, keyID,
                   QStringLiteral("Activated ") + target.appName + QStringLiteral(" (fallback: ") +
                       texts.join(QStringLiteral(", ")) + QLatin1Char(')'));
            break;
        }
        }
    } else if (const auto* missing = std::get_if<HotkeyRouter::ReportMissing>(&route)) {
        HotkeyLog::log(QStringLiteral("路由 pathMissing：") + missing->entry.name + QLatin1Char(' ') + missing->entry.path);
        monitor.report(QStringLiteral("Couldn't launch ") + missing->entry.name + QStringLiteral(" (path missing)"));
    } else {
        HotkeyLog::log(QStringLiteral("路由 ignore：") + keyID + QStringLiteral(" 绑定的 app 记录为空"));
    }

    if (!logging) return;
    const auto elapsedMs = static_cast<long long>(std::trunc((time.now() - start) * 1000.0));
    HotkeyLog::log(QStringLiteral("执行结束 ") + keyID + QStringLiteral(" 用时 ") + QString::number(elapsedMs) +
                   QStringLiteral("ms 前台 ") + frontBefore + QStringLiteral(" → ") + frontAppName());
}

QString describe(const AppLauncher::Outcome& outcome) {
    switch (outcome.kind) {
    case AppLauncher::Outcome::Kind::started: return QStringLiteral("Launched");
    case AppLauncher::Outcome::Kind::pathMissing: return QStringLiteral("Couldn't launch (path missing)");
    case AppLauncher::Outcome::Kind::failed: return QStringLiteral("Launch failed: ") + outcome.reason;
    }
    return {};
}

QString frontAppName() {
    const auto front = Platform::current().workspace().frontmostApplication();
    if (!front || !front->localizedName || front->localizedName->isEmpty()) return QStringLiteral("?");
    return *front->localizedName;
}

} // namespace StrokeExecution

#include "HotkeyMonitor.h"

#include "Hotkey/StrokeExecution.h"
#include "Platform/KeyStrokeMap.h"
#include "Platform/KeyboardTapPort.h"
#include "Support/HotkeyLog.h"
#include "Support/MainThread.h"

#include <QCoreApplication>

namespace {

QString boolText(bool value) {
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

QString unreadText(const QString& keyID, BindingsLookup::Status status, std::chrono::milliseconds deadline) {
    if (status == BindingsLookup::Status::stillReading)
        return QStringLiteral("放行 keyDown: ") + keyID +
               QStringLiteral(" 上一次读取 keyBindings.json 还没结束，按未绑定处理");
    return QStringLiteral("放行 keyDown: ") + keyID + QStringLiteral(" keyBindings.json ") +
           QString::number(deadline.count()) + QStringLiteral(" ms 内没有读完，按未绑定处理");
}

} // namespace

HotkeyMonitor::HotkeyMonitor(QString bindingsPath, QObject* parent)
    : HotkeyMonitor(std::move(bindingsPath), std::make_unique<BindingsLookup>(), parent) {}

HotkeyMonitor::HotkeyMonitor(QString bindingsPath, std::unique_ptr<BindingsLookup> lookup, QObject* parent)
    : QObject(parent), bindingsPath_(std::move(bindingsPath)), log_(HotkeyLog::shared()),
      lookup_(std::move(lookup)), strokeExecution_([this](const QString& keyID, const AppEntry& entry) {
          ::StrokeExecution::execute(*this, keyID, entry);
      }) {}

HotkeyMonitor::~HotkeyMonitor() {
    std::shared_ptr<EventTap> tap;
    {
        std::lock_guard lock(refsLock_);
        tap = tap_;
    }
    if (tap) tap->stop();
    if (tapThread_.joinable()) tapThread_.join();
}

HotkeyMonitor& HotkeyMonitor::shared() {
    // Never destroyed: the tap thread and the queue work until the process ends.
    static HotkeyMonitor* const monitor = [] {
        auto* created = new HotkeyMonitor();
        // Published properties belong to the main thread, whichever thread asked first.
        if (auto* app = QCoreApplication::instance()) created->moveToThread(app->thread());
        return created;
    }();
    return *monitor;
}

HotkeyMonitor::Decision HotkeyMonitor::decide(std::uint32_t type, const TapEvent& event) {
    switch (type) {
    case EventType::keyDown:
        return decideKeyDown(event);
    case EventType::flagsChanged:
        return decideFlagsChanged(event);
    case EventType::tapDisabledByTimeout:
    case EventType::tapDisabledByUserInput:
        return decideTapDisabled(type);
    default:
        return Decision::pass;
    }
}

HotkeyMonitor::Decision HotkeyMonitor::decideKeyDown(const TapEvent& event) {
    const bool rightWasDown = state_.rightCommandDown;
    const bool hit = state_.handleKeyDown(event.flags);
    // Ordinary typing ends here, having built nothing: this runs for every key the user types.
    if (!hit && !rightWasDown && (event.flags & EventFlag::command) == 0 &&
        !(log_.enabled() && log_.traceAll()))
        return Decision::pass;
    return decideCommandKeyDown(event, hit);
}

// Kept apart from the typing test above so that ordinary typing pays for none of its set-up.
Q_NEVER_INLINE HotkeyMonitor::Decision HotkeyMonitor::decideCommandKeyDown(const TapEvent& event, bool hit) {
    if (log_.enabled())
        log_.write(QStringLiteral("keyDown keyCode=") + QString::number(event.keyCode) +
                   QStringLiteral(" flags=") + QString::number(event.flags) + QStringLiteral(" 判据=") +
                   boolText(hit) + QLatin1Char(' ') + state_.commandState());
    if (!hit) return Decision::pass;

    const std::optional<QString> keyID = KeyStrokeMap::keyID(event.keyCode);
    if (!keyID) return Decision::pass;

    // Read afresh for every stroke: the file is the only channel from the editor. A file that
    // cannot be read in time counts as no binding: the key goes on to the focused window.
    const BindingsLookup::Answer answer = lookup_->lookup(bindingsPath_, *keyID);
    if (answer.status != BindingsLookup::Status::read) {
        if (log_.enabled()) log_.write(unreadText(*keyID, answer.status, lookup_->deadline()));
        return Decision::pass;
    }
    const KeyBindingStore::Lookup& found = answer.lookup;
    if (found.entry) {
        if (log_.enabled())
            log_.write(QStringLiteral("命中 ") + *keyID + QStringLiteral(" → ") + found.entry->name +
                       QStringLiteral("，吞掉本次 keyDown"));
        enqueue(*keyID, *found.entry);
        return Decision::swallow;
    }
    if (log_.enabled())
        log_.write(QStringLiteral("放行 keyDown: ") + *keyID + QStringLiteral(" 未绑定（读盘共 ") +
                   QString::number(found.count) + QStringLiteral(" 条）"));
    return Decision::pass;
}

HotkeyMonitor::Decision HotkeyMonitor::decideFlagsChanged(const TapEvent& event) {
    if (event.keyCode != CommandKey::right && event.keyCode != CommandKey::left) return Decision::pass;
    state_.handleFlagsChanged(event.keyCode, event.flags);
    if (log_.enabled()) {
        const bool down = ModifierState::commandKeyDown(event.keyCode, event.flags);
        log_.write(QStringLiteral("flags: keyCode=") + QString::number(event.keyCode) +
                   QStringLiteral(" down=") + boolText(down) + QLatin1Char(' ') + state_.commandState());
    }
    return Decision::pass;
}

HotkeyMonitor::Decision HotkeyMonitor::decideTapDisabled(std::uint32_t type) {
    if (log_.enabled())
        log_.write(QStringLiteral("tap 被系统禁用(type=") + QString::number(type) +
                   QStringLiteral(")，重新启用并清空修饰键状态"));
    std::shared_ptr<EventTap> tap;
    {
        std::lock_guard lock(refsLock_);
        tap = tap_;
    }
    if (tap) tap->setEnabled(true);
    // Events were missed while the tap was off: a Command key must be pressed anew.
    state_.reset();
    return Decision::pass;
}

bool HotkeyMonitor::jump(const QString& keyID) {
    const KeyBindingStore::Lookup found = KeyBindingStore::lookup(bindingsPath_, keyID);
    if (!found.entry) {
        if (log_.enabled())
            log_.write(QStringLiteral("--jump ") + keyID + QStringLiteral(" 未绑定（读盘共 ") +
                       QString::number(found.count) + QStringLiteral(" 条）"));
        return false;
    }
    if (log_.enabled())
        log_.write(QStringLiteral("--jump 命中 ") + keyID + QStringLiteral(" → ") + found.entry->name);
    enqueue(keyID, *found.entry);
    return true;
}

void HotkeyMonitor::enqueue(const QString& keyID, const AppEntry& entry) {
    // Capturing `this` is safe: the queue goes first when the monitor is destroyed, dropping
    // the items that have not started.
    queue_.async([this, keyID, entry] { runStroke(keyID, entry); });
}

void HotkeyMonitor::runStroke(const QString& keyID, const AppEntry& entry) {
    if (inFlight_) {
        HotkeyLog::log(QStringLiteral("忙，忽略 ") + keyID +
                       QStringLiteral("（上一次执行还没结束，这次按键已被吞掉）"));
        return;
    }
    inFlight_ = true;
    if (strokeExecution_) strokeExecution_(keyID, entry);
    inFlight_ = false;
}

void HotkeyMonitor::setStrokeExecution(StrokeExecution execution) {
    // Swapped on the queue itself, so a running stroke keeps the execution it started with.
    queue_.async(
        [this, execution = std::move(execution)]() mutable { strokeExecution_ = std::move(execution); });
}

void HotkeyMonitor::report(const QString& text) {
    MainThread::post(this, [this, text] { setLastOutcome(text); });
}

void HotkeyMonitor::setTap(std::shared_ptr<EventTap> tap) {
    std::lock_guard lock(refsLock_);
    tap_ = std::move(tap);
    started_ = tap_ != nullptr;
}

bool HotkeyMonitor::isStarted() const {
    std::lock_guard lock(refsLock_);
    return started_;
}

void HotkeyMonitor::setLastOutcome(const QString& text) {
    if (lastOutcome_ != text) {
        lastOutcome_ = text;
        emit lastOutcomeChanged();
    }
    // Every result is news to the window, even one with the text of the one before.
    emit outcomeReported();
}

void HotkeyMonitor::setPermissionIssue(std::optional<PermissionIssue> issue) {
    if (permissionIssue_ == issue) return;
    permissionIssue_ = issue;
    emit permissionIssueChanged();
}

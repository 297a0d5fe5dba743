#include "X11EventTap.h"

#include "Support/HotkeyLog.h"
#include "Platform/KeyStrokeMap.h"
#include "Platform/Linux/KeyPositions.h"
#include "X11KeyGrabs.h"
#include "X11Reply.h"

#include <xcb/xinput.h>

#include <QSet>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

// Between two attempts to reach a display that went away.
constexpr int firstRetryMs = 100;
constexpr int lastRetryMs = 2000;

bool isDown(const xcb_query_keymap_reply_t& keymap, std::uint8_t xKeyCode) {
    return (keymap.keys[xKeyCode / 8] >> (xKeyCode % 8)) & 1;
}

// Raw events report every key press anywhere, whoever holds the keyboard; a client that
// asked for an older XInput2 would lose them while any grab is active. Returns the
// extension's opcode, or 0 when there is no XInput2.
std::uint8_t selectRawSuperEvents(xcb_connection_t* c, xcb_window_t root) {
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(c, &xcb_input_id);
    if (!extension || !extension->present) return 0;
    X11Reply<xcb_input_xi_query_version_reply_t> version(
        xcb_input_xi_query_version_reply(c, xcb_input_xi_query_version(c, 2, 2), nullptr));
    if (!version || (version->major_version == 2 && version->minor_version < 1)) return 0;

    struct {
        xcb_input_event_mask_t head;
        std::uint32_t bits;
    } mask{{XCB_INPUT_DEVICE_ALL_MASTER, 1},
           XCB_INPUT_XI_EVENT_MASK_RAW_KEY_PRESS | XCB_INPUT_XI_EVENT_MASK_RAW_KEY_RELEASE};
    xcb_generic_error_t* error =
        xcb_request_check(c, xcb_input_xi_select_events_checked(c, root, 1, &mask.head));
    const bool selected = error == nullptr;
    std::free(error);
    return selected ? extension->major_opcode : 0;
}

QString keyName(std::int64_t keyCode) {
    return KeyStrokeMap::keyID(keyCode).value_or(QString::number(keyCode));
}

// Grabs the keys for `masks`, logging each one another client holds.
X11KeyGrabs::Result grabKeys(xcb_connection_t* c, xcb_window_t root, const X11ModifierMasks& masks) {
    const X11KeyGrabs::Result grabs = X11KeyGrabs::grabAll(c, root, masks);
    for (const std::int64_t key : grabs.refused)
        X11EventTap::logOnce(QStringLiteral("抓键被拒：Super+") + keyName(key) + QStringLiteral("（X 键码 ") +
                             QString::number(KeyPositions::xKeyCode(key).value_or(0)) +
                             QStringLiteral("，已被其他程序占用），此键不可作热键"));
    return grabs;
}

QString hex(std::uint16_t mask) {
    return QStringLiteral("0x") + QString::number(mask, 16);
}

} // namespace

TapOpening X11EventTap::open(const char* display, KeyboardTapPort::Callback callback,
                             std::shared_ptr<X11ServerClock> clock) {
    // The display is fixed here: a reconnection goes back to the same one.
    std::shared_ptr<X11EventTap> tap(
        new X11EventTap(QByteArray(display), std::move(callback), std::move(clock)));
    if (tap->wakeRead_ < 0) return {nullptr, TapFailure::noDisplay};
    if (const auto failure = tap->connect()) return {nullptr, *failure};
    return {tap, {}};
}

X11EventTap::X11EventTap(QByteArray display, KeyboardTapPort::Callback callback,
                         std::shared_ptr<X11ServerClock> clock)
    : display_(display.isEmpty() ? qgetenv("DISPLAY") : std::move(display)), callback_(std::move(callback)),
      clock_(std::move(clock)) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) == 0) {
        wakeRead_ = fds[0];
        wakeWrite_ = fds[1];
    }
}

X11EventTap::~X11EventTap() {
    closeConnection();
    if (wakeRead_ >= 0) ::close(wakeRead_);
    if (wakeWrite_ >= 0) ::close(wakeWrite_);
}

void X11EventTap::logOnce(const QString& line) {
    static std::mutex mutex;
    static QSet<QString> said;
    {
        std::lock_guard lock(mutex);
        if (said.contains(line)) return;
        said.insert(line);
    }
    HotkeyLog::log(line);
}

std::optional<TapFailure> X11EventTap::connect() {
    auto connection = X11Connection::open(display_.isEmpty() ? nullptr : display_.constData());
    if (!connection) {
        logOnce(QStringLiteral("tap 未安装：无法连接 X 显示 ") + QString::fromLocal8Bit(display_));
        return TapFailure::noDisplay;
    }
    xcb_connection_t* c = connection->xcb();

    const std::uint8_t opcode = selectRawSuperEvents(c, connection->root());
    if (opcode == 0) logOnce(QStringLiteral("XInput2 不可用：Super 键状态只在按下键帽时读取"));

    const X11ModifierMasks masks = X11ModifierMasks::read(c);
    const X11KeyGrabs::Result grabs = grabKeys(c, connection->root(), masks);
    if (!grabs.grabbed.empty()) checkTriggerKey();
    std::lock_guard lock(mutex_);
    keysTaken_ = grabs.refused;
    if (grabs.grabbed.empty()) {
        logOnce(QStringLiteral("tap 未安装：Super + 键帽的抓键全部被拒"));
        return TapFailure::keysTaken;
    }
    connection_ = std::move(connection);
    xinputOpcode_ = opcode;
    masks_ = masks;
    mappingChanged_ = false;
    return std::nullopt;
}

std::vector<std::int64_t> X11EventTap::keysTaken() const {
    std::lock_guard lock(mutex_);
    return keysTaken_;
}

bool X11EventTap::triggerKeyTaken() const {
    std::lock_guard lock(mutex_);
    return triggerKeyTaken_;
}

void X11EventTap::checkTriggerKey() {
    // A display that cannot be reached now keeps the last answer: the tap's own connection
    // will say what became of it.
    const auto taken = X11KeyGrabs::triggerKeyTaken(display_.isEmpty() ? nullptr : display_.constData());
    if (!taken) return;
    if (*taken)
        logOnce(QStringLiteral(
            "右 Super 键被其他程序单独抓取（多为窗口管理器的菜单键）：右 Super 组合键到不了 Kestavon"));
    std::lock_guard lock(mutex_);
    triggerKeyTaken_ = *taken;
}

void X11EventTap::setEnabled(bool enabled) {
    enabled_ = enabled;
}

void X11EventTap::stop() {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    // Nobody would answer the grabs any more: a grabbed press would freeze the keyboard.
    if (!running_) closeConnection();
    if (wakeWrite_ >= 0) (void)!::write(wakeWrite_, "x", 1);
}

void X11EventTap::run() {
    {
        std::lock_guard lock(mutex_);
        if (stopping_) {
            closeConnection();
            return;
        }
        running_ = true;
    }
    while (!stopping_) {
        if (!connection_ || connection_->hasError()) {
            if (!reconnect()) break;
            continue;
        }
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection_->xcb())) {
            handle(event);
            std::free(event);
        }
        if (mappingChanged_) {
            followKeyboardMapping();
            continue; // its replies may have queued events that poll() would not wake for
        }
        if (!stopping_ && !connection_->hasError()) waitForEvents();
    }
    std::lock_guard lock(mutex_);
    running_ = false;
    closeConnection();
}

void X11EventTap::closeConnection() {
    if (connection_ && !connection_->hasError()) {
        // Given back before the connection closes (the server notices a closed connection
        // only later), so that a tap made right after finds the keys free.
        xcb_connection_t* c = connection_->xcb();
        xcb_ungrab_key(c, XCB_GRAB_ANY, connection_->root(), XCB_MOD_MASK_ANY);
        X11Reply<xcb_get_input_focus_reply_t> done(
            xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    }
    connection_.reset();
}

void X11EventTap::waitForEvents() {
    pollfd fds[2] = {{xcb_get_file_descriptor(connection_->xcb()), POLLIN, 0}, {wakeRead_, POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0) return;
    char drain[16];
    if (fds[1].revents & POLLIN)
        while (::read(wakeRead_, drain, sizeof drain) > 0) {
        }
}

bool X11EventTap::reconnect() {
    HotkeyLog::log(QStringLiteral("X 连接断开，重连中（断开期间热键不可用）"));
    {
        std::lock_guard lock(mutex_);
        connection_.reset();
    }
    int retryMs = firstRetryMs;
    while (!stopping_) {
        pollfd wake{wakeRead_, POLLIN, 0};
        ::poll(&wake, 1, retryMs);
        if (stopping_) return false;
        if (!connect()) {
            HotkeyLog::log(QStringLiteral("X 连接已恢复，重新抓键"));
            // Key events were missed meanwhile: the callback starts afresh, as after a tap
            // the system had turned off.
            rightSuperDown_ = leftSuperDown_ = false;
            if (callback_) callback_(EventType::tapDisabledByTimeout, TapEvent{});
            return true;
        }
        retryMs = std::min(retryMs * 2, lastRetryMs);
    }
    return false;
}

void X11EventTap::handle(const xcb_generic_event_t* event) {
    const std::uint8_t type = event->response_type & 0x7f;
    if (type == XCB_MAPPING_NOTIFY) {
        // The connection never enables XKB, so XKB's changes (a layout switch, a new keyboard)
        // come as this core event too, often several for one change: grabbed again once,
        // before any later event is handled.
        if (reinterpret_cast<const xcb_mapping_notify_event_t*>(event)->request != XCB_MAPPING_POINTER)
            mappingChanged_ = true;
        return;
    }
    if (mappingChanged_) followKeyboardMapping();
    switch (type) {
    case XCB_KEY_PRESS:
        handleGrabbedPress(reinterpret_cast<const xcb_key_press_event_t*>(event));
        break;
    case XCB_KEY_RELEASE: {
        // Only while one of our grabs is active does a key release come to us.
        const auto* release = reinterpret_cast<const xcb_key_release_event_t*>(event);
        if (enabled_) superKeyChanged(release->detail, false);
        break;
    }
    case XCB_GE_GENERIC:
        handleRawKey(event);
        break;
    default:
        break;
    }
}

void X11EventTap::followKeyboardMapping() {
    mappingChanged_ = false;
    xcb_connection_t* c = connection_->xcb();
    // Key codes are positions and stay; only the modifiers the keys sit on can move.
    const X11ModifierMasks masks = X11ModifierMasks::read(c);
    if (masks != masks_)
        HotkeyLog::log(QStringLiteral("修饰键映射已变，重新抓键：右 Super ") + hex(masks.rightSuper) +
                       QStringLiteral("，左 Super ") + hex(masks.leftSuper) + QStringLiteral("，锁定键 ") +
                       hex(masks.locks));
    const X11KeyGrabs::Result grabs = grabKeys(c, connection_->root(), masks);
    {
        std::lock_guard lock(mutex_);
        keysTaken_ = grabs.refused;
    }
    X11KeyGrabs::ungrabStale(c, connection_->root(), masks_, masks);
    xcb_flush(c);
    masks_ = masks;
    checkTriggerKey();
}

void X11EventTap::handleGrabbedPress(const xcb_key_press_event_t* event) {
    xcb_connection_t* c = connection_->xcb();
    // Noted before the callback, which may start a jump that activates a window.
    if (clock_) clock_->heardKeyPress(event->time);
    bool swallow = false;
    const std::optional<std::int64_t> keyCode = KeyPositions::keyCode(event->detail);
    if (enabled_ && callback_ && keyCode) {
        if (*keyCode == CommandKey::right || *keyCode == CommandKey::left) {
            superKeyChanged(event->detail, true);
        } else {
            // The raw events follow each Super key down and up, so a right Super seen going
            // down needs no asking, which would keep the keyboard frozen for a round trip. The
            // server's key map is asked otherwise: a Super key held since before the tap started
            // sent no raw event.
            if (xinputOpcode_ == 0 || !rightSuperDown_) readSuperKeys();
            swallow = callback_(EventType::keyDown, TapEvent{*keyCode, masks_.flags(event->state)});
        }
    }
    // The keyboard stays frozen until this answer: send it at once. Releasing the grab, not
    // just thawing it, lets the key's release and any keys queued behind it go to the
    // focused client as usual.
    if (swallow)
        xcb_ungrab_keyboard(c, event->time);
    else
        xcb_allow_events(c, XCB_ALLOW_REPLAY_KEYBOARD, event->time);
    xcb_flush(c);
}

void X11EventTap::handleRawKey(const xcb_generic_event_t* event) {
    const auto* generic = reinterpret_cast<const xcb_ge_generic_event_t*>(event);
    if (xinputOpcode_ == 0 || generic->extension != xinputOpcode_) return;
    if (generic->event_type != XCB_INPUT_RAW_KEY_PRESS && generic->event_type != XCB_INPUT_RAW_KEY_RELEASE)
        return;
    if (!enabled_) return;
    const auto* raw = reinterpret_cast<const xcb_input_raw_key_press_event_t*>(event);
    if (raw->detail > 255) return;
    superKeyChanged(static_cast<std::uint8_t>(raw->detail), generic->event_type == XCB_INPUT_RAW_KEY_PRESS);
}

void X11EventTap::readSuperKeys() {
    xcb_connection_t* c = connection_->xcb();
    X11Reply<xcb_query_keymap_reply_t> keymap(xcb_query_keymap_reply(c, xcb_query_keymap(c), nullptr));
    if (!keymap) return;
    superKeyChanged(KeyPositions::superRight, isDown(*keymap, KeyPositions::superRight));
    superKeyChanged(KeyPositions::superLeft, isDown(*keymap, KeyPositions::superLeft));
}

void X11EventTap::superKeyChanged(std::uint8_t xKeyCode, bool down) {
    bool* known = xKeyCode == KeyPositions::superRight  ? &rightSuperDown_
                  : xKeyCode == KeyPositions::superLeft ? &leftSuperDown_
                                                        : nullptr;
    if (!known || *known == down) return;
    *known = down;
    std::uint64_t flags = 0;
    if (rightSuperDown_) flags |= EventFlag::command | EventFlag::rightCommandKey;
    if (leftSuperDown_) flags |= EventFlag::command | EventFlag::leftCommandKey;
    if (callback_)
        callback_(
            EventType::flagsChanged,
            TapEvent{xKeyCode == KeyPositions::superRight ? CommandKey::right : CommandKey::left, flags});
}

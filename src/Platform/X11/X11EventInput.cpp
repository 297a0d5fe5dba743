#include "X11EventInput.h"

#include "X11Connection.h"
#include "X11EventTap.h"
#include "X11Reply.h"

#include <QtGlobal>

#include <algorithm>
#include <cmath>

namespace {

// Synthetic gesture fields and values.
constexpr int gestureKindField = 110;
constexpr std::int64_t dockSwipe = 23;
constexpr int swipeProgressField = 124;
constexpr int gesturePhaseField = 132;
constexpr std::int64_t gestureEnded = 4;

bool isWaylandSession() {
    return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           qEnvironmentVariable("XDG_SESSION_TYPE").compare(QLatin1String("wayland"), Qt::CaseInsensitive) ==
               0;
}

} // namespace

std::shared_ptr<EventTap> X11EventInput::createKeyboardTap(Callback callback) {
    if (isWaylandSession()) {
        X11EventTap::logOnce(
            QStringLiteral("tap 未安装：当前是 Wayland 会话，无法全局抓键，热键需要 X11 会话"));
        return nullptr;
    }
    return X11EventTap::open(nullptr, std::move(callback));
}

bool X11EventInput::postEvent(const SyntheticEvent& event) {
    if (queries_.hasError()) return false;
    std::int64_t kind = 0, phase = 0;
    double progress = 0;
    for (const auto& [field, value] : event.integerFields) {
        if (field == gestureKindField) kind = value;
        if (field == gesturePhaseField) phase = value;
    }
    for (const auto& [field, value] : event.doubleFields)
        if (field == swipeProgressField) progress = value;
    // The swipe takes effect when the gesture ends; its beginning changes nothing.
    if (kind != dockSwipe || phase != gestureEnded || progress == 0 || std::isnan(progress)) return true;

    xcb_ewmh_connection_t* ewmh = queries_.ewmh();
    const int screen = queries_.screenNumber();
    std::uint32_t current = 0, count = 0;
    if (!xcb_ewmh_get_current_desktop_reply(ewmh, xcb_ewmh_get_current_desktop(ewmh, screen), &current,
                                            nullptr) ||
        !xcb_ewmh_get_number_of_desktops_reply(ewmh, xcb_ewmh_get_number_of_desktops(ewmh, screen), &count,
                                               nullptr))
        return true;
    // Like a swipe past the last Space, a step past either end goes nowhere.
    const std::int64_t target = std::int64_t(current) + (progress > 0 ? 1 : -1);
    if (target < 0 || target >= std::int64_t(count)) return true;
    xcb_ewmh_request_change_current_desktop(ewmh, screen, std::uint32_t(target), XCB_CURRENT_TIME);
    xcb_flush(queries_.xcb());
    return true;
}

void X11EventInput::warpPointer(QPointF location) {
    if (!std::isfinite(location.x()) || !std::isfinite(location.y())) return;
    // X coordinates are 16-bit.
    const auto coordinate = [](double v) {
        return static_cast<std::int16_t>(std::lround(std::clamp(v, -32768.0, 32767.0)));
    };
    xcb_connection_t* c = queries_.xcb();
    xcb_warp_pointer(c, XCB_NONE, queries_.root(), 0, 0, 0, 0, coordinate(location.x()),
                     coordinate(location.y()));
    xcb_flush(c);
}

std::optional<QPointF> X11EventInput::pointerLocation() {
    xcb_connection_t* c = queries_.xcb();
    X11Reply<xcb_query_pointer_reply_t> pointer(
        xcb_query_pointer_reply(c, xcb_query_pointer(c, queries_.root()), nullptr));
    if (!pointer) return std::nullopt;
    return QPointF(pointer->root_x, pointer->root_y);
}

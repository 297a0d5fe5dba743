#include "X11Accessibility.h"

#include "Platform/X11/X11Clients.h"
#include "Platform/X11/X11Connection.h"
#include "Platform/X11/X11MinimizeRequest.h"

#include <QPointF>
#include <QSizeF>
#include <QVariantList>

namespace {

QVariant elementValue(std::int32_t pid, xcb_window_t window) {
    return QVariant::fromValue(AXElement{pid, window});
}

} // namespace

std::optional<QVariant> X11Accessibility::copyAttributeValue(const AXElement& element,
                                                             const QString& attribute) {
    if (connection_.hasError()) return std::nullopt;
    if (element.window == 0) return applicationAttribute(element.pid, attribute);
    return windowAttribute(element, attribute);
}

std::optional<QVariant> X11Accessibility::applicationAttribute(std::int32_t pid, const QString& attribute) {
    const bool focused = attribute == AXAttribute::focusedWindow;
    const bool main = attribute == AXAttribute::mainWindow;
    if (!focused && !main && attribute != AXAttribute::windows) return std::nullopt;
    const X11Clients::Root root = X11Clients::root(connection_);
    if (focused) {
        const auto active = root.activeWindow;
        if (!active) return std::nullopt;
        const auto window = X11Clients::readOne(connection_, *active, X11Clients::pid);
        if (!window || window->pid != pid) return std::nullopt;
        return elementValue(pid, *active);
    }
    if (!root.frontToBack) return std::nullopt;
    const unsigned fields = main ? X11Clients::pid | X11Clients::state | X11Clients::type : X11Clients::pid;
    QVariantList windows;
    for (const X11ClientWindow& w : X11Clients::read(connection_, *root.frontToBack, fields)) {
        if (w.pid != pid) continue;
        // The main window is the front-most ordinary one that is not minimised.
        if (main && w.layer == 0 && !w.hidden) return elementValue(pid, w.id);
        if (!main) windows.append(elementValue(pid, w.id));
    }
    if (main) return std::nullopt;
    return windows;
}

std::optional<QVariant> X11Accessibility::windowAttribute(const AXElement& element,
                                                          const QString& attribute) {
    unsigned fields = X11Clients::pid;
    if (attribute == AXAttribute::position || attribute == AXAttribute::size)
        fields |= X11Clients::frame;
    else if (attribute == AXAttribute::minimized)
        fields |= X11Clients::state;
    else
        return std::nullopt;
    const auto window = X11Clients::readOne(connection_, xcb_window_t(element.window), fields);
    // A window id the server has since given to another process is not this element.
    if (!window || window->pid != element.pid) return std::nullopt;
    if (attribute == AXAttribute::minimized) return QVariant(window->hidden);
    if (!window->frame) return std::nullopt;
    if (attribute == AXAttribute::position) return QVariant(QPointF(window->frame->topLeft()));
    return QVariant(QSizeF(window->frame->size()));
}

bool X11Accessibility::setAttributeValue(const AXElement& element, const QString& attribute,
                                         const QVariant& value) {
    if (element.window == 0 || attribute != AXAttribute::minimized ||
        value.metaType() != QMetaType::fromType<bool>())
        return false;
    const auto window = X11Clients::readOne(connection_, xcb_window_t(element.window), X11Clients::pid);
    if (!window || window->pid != element.pid) return false;
    return X11MinimizeRequest::run(window->id, value.toBool(), stateChangeLimit);
}

#include "App/TrayIcon.h"


TrayIcon::TrayIcon(const QIcon& icon, std::function<void()> showWindow, std::function<void()> quit,
                   QObject* parent)
    : QObject(parent), showWindow_(std::move(showWindow)) {
    menu_.addAction(QStringLiteral("Show Kestavon"), this, [this] { showWindow_(); });
    menu_.addAction(QStringLiteral("Quit Kestavon"), this, [quit = std::move(quit)] { quit(); });
    icon_.setIcon(icon);
    icon_.setToolTip(QStringLiteral("Kestavon"));
    icon_.setContextMenu(&menu_);
    connect(&icon_, &QSystemTrayIcon::activated, this, &TrayIcon::activated);
}

void TrayIcon::activated(QSystemTrayIcon::ActivationReason reason) {
    // The menu opens on its own for the context click; the other clicks mean "show me".
    if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick) showWindow_();
}

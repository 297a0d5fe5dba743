#pragma once

#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>

#include <functional>

/// Kestavon's icon in the desktop's tray, for a Kestavon that runs with its window closed: a
/// click on it shows the window, and its menu shows the window or ends Kestavon.
class TrayIcon final : public QObject {
    Q_OBJECT

public:
    TrayIcon(const QIcon& icon, std::function<void()> showWindow, std::function<void()> quit,
             QObject* parent = nullptr);

    QSystemTrayIcon& icon() { return icon_; }
    QMenu& menu() { return menu_; }

private:
    void activated(QSystemTrayIcon::ActivationReason reason);

    std::function<void()> showWindow_;
    QMenu menu_;
    QSystemTrayIcon icon_;
};

#include "App/KestavonApp.h"

#include "App/ContentView.h"
#include "App/ShownReport.h"
#include "App/TrayIcon.h"
#include "Hotkey/HotkeyMonitor.h"
#include "Platform/Platform.h"
#include "Updates/AboutView.h"

#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QImageReader>
#include <QKeySequence>
#include <QLocale>
#include <QPixmap>
#include <QSettings>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWindow>

#ifndef Q_OS_MACOS
#include "Platform/Linux/AppcastUpdater.h"
#include "Updates/UpdateAlertView.h"
#endif

namespace {

// How often, and how many times, a tray that is not there at start is looked for again.
constexpr int trayRetryMs = 5000;
constexpr int trayRetries = 12;
// How long the window's first painting is waited for before the rest of the start goes on.
constexpr int finishStartLatestMs = 2000;

QIcon appIcon() {
    // Read as what it is: left to guess the format, the reader would load every image plugin
    // (and the vector image support with them) to ask each one first.
    QImageReader reader(QStringLiteral(":/kestavon-128.png"), "png");
    reader.setAutoDetectImageFormat(false);
    return QIcon(QPixmap::fromImage(reader.read()));
}

} // namespace

KestavonApp::KestavonApp() {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

KestavonApp::~KestavonApp() = default;

void KestavonApp::makeWindow() {
    ContentView::Services services;
    services.updater = &updateController_;
    window_ = std::make_unique<ContentView>(services);
    window_->setWindowTitle(QStringLiteral("Kestavon"));

#ifndef Q_OS_MACOS
    // The update framework's own windows belong to ours.
    alerts_ = std::make_unique<UpdateAlertView>(window_.get());
    if (auto* appcast = dynamic_cast<AppcastUpdater*>(&Platform::current().updater())) appcast->setUserDriver(alerts_.get());
#endif

    // Closing the window leaves Kestavon running; Ctrl+Q in it ends Kestavon.
    auto* quit = new QAction(window_.get());
    quit->setShortcut(QKeySequence::Quit);
    QObject::connect(quit, &QAction::triggered, &QApplication::quit);
    window_->addAction(quit);
    // Not needed for the first look. A ready image (scripts/window-icon), since drawing the
    // vector one would keep the vector image support in memory for good.
    afterFirstPainting(*window_, [this] {
        window_->setWindowIcon(appIcon());
        finishStart();
    });
    // Nor does a window closed before it was ever painted keep the hotkeys waiting.
    QObject::connect(window_->windowHandle(), &QWindow::visibleChanged, [this](bool visible) {
        if (!visible) finishStart();
    });
    reportWhenShown(*window_);
}

void KestavonApp::showWindow() {
    if (!window_) makeWindow();
    window_->show();
    // Should the window never be painted (a window manager starting it minimised), the rest
    // of the start still happens.
    QTimer::singleShot(finishStartLatestMs, [this] { finishStart(); });
}

void KestavonApp::startInBackground() {
    scheduleStartupTask();
    finishStart();
}

void KestavonApp::finishStart() {
    if (started_) return;
    started_ = true;
    // The hotkeys wait for the window's first painting: that is what the user is looking at.
    scheduleStartupTask();
    // Written at every launch, whatever was stored: the system's own texts in our window
    // (buttons of dialogs, formats) are English like the rest of it.
    QSettings().setValue(QStringLiteral("AppleLanguages"), QStringList{QStringLiteral("en")});
    if (trayWanted_) showTrayIcon();
}

void KestavonApp::scheduleStartupTask() {
    if (startupScheduled_) return;
    startupScheduled_ = true;
    QTimer::singleShot(0, [this] { runStartupTask(); });
}

void KestavonApp::bringWindowForward() {
    if (!window_) makeWindow();
    window_->setWindowState(window_->windowState() & ~Qt::WindowMinimized);
    window_->show();
    window_->raise();
    window_->activateWindow();
}

void KestavonApp::runStartupTask() {
    HotkeyMonitor::shared().start(false);
    // A build without a feed leaves updates to the package manager: there is nothing to start.
    if (!AboutOptions::fromBuild().checksForUpdates) return;
    if (const std::optional<QString> error = updateController_.start()) updateController_.showStartFailure(*error);
}

void KestavonApp::showTrayIcon() {
    if (tray_) return;
    if (!started_) {
        trayWanted_ = true;
        return;
    }
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        trayWait_.reset();
        tray_ = std::make_unique<TrayIcon>(appIcon(), [this] { bringWindowForward(); },
                                           &QApplication::quit);
        tray_->icon().show();
        return;
    }
    if (trayWait_) return;
    trayWait_ = std::make_unique<QTimer>();
    trayWait_->setInterval(trayRetryMs);
    QObject::connect(trayWait_.get(), &QTimer::timeout, [this, tries = 0]() mutable {
        const bool available = QSystemTrayIcon::isSystemTrayAvailable();
        if (available || ++tries >= trayRetries) trayWait_->stop();
        // Later, not from inside the timer that showTrayIcon() ends.
        if (available) QTimer::singleShot(0, [this] { showTrayIcon(); });
    });
    trayWait_->start();
}

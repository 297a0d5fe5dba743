#include "App/KestavonApp.h"

#include "App/ContentView.h"
#include "Hotkey/HotkeyMonitor.h"
#include "Platform/Platform.h"

#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QKeySequence>
#include <QLocale>
#include <QSettings>
#include <QTimer>

#ifndef Q_OS_MACOS
#include "Platform/Linux/AppcastUpdater.h"
#include "Updates/UpdateAlertView.h"
#endif

KestavonApp::KestavonApp() {
    // Written at every launch, whatever was stored: the system's own texts in our window
    // (buttons of dialogs, formats) are English like the rest of it.
    QSettings().setValue(QStringLiteral("AppleLanguages"), QStringList{QStringLiteral("en")});
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

KestavonApp::~KestavonApp() = default;

void KestavonApp::showWindow() {
    ContentView::Services services;
    services.updater = &updateController_;
    window_ = std::make_unique<ContentView>(services);
    window_->setWindowTitle(QStringLiteral("Kestavon"));
    window_->setWindowIcon(QIcon(QStringLiteral(":/kestavon.svg")));

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

    window_->show();
    QTimer::singleShot(0, [this] { runStartupTask(); });
}

void KestavonApp::bringWindowForward() {
    if (!window_) return;
    window_->setWindowState(window_->windowState() & ~Qt::WindowMinimized);
    window_->show();
    window_->raise();
    window_->activateWindow();
}

void KestavonApp::runStartupTask() {
    HotkeyMonitor::shared().start(false);
    if (const std::optional<QString> error = updateController_.start()) updateController_.showStartFailure(*error);
}

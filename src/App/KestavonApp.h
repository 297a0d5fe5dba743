#pragma once

#include "Updates/SparkleUpdateController.h"

#include <memory>

class ContentView;
class QTimer;
class TrayIcon;
#ifndef Q_OS_MACOS
class UpdateAlertView;
#endif

/// The application: English as its language, one update controller for the process, the one
/// window, the tray icon where the desktop has a tray, and the start-up task that switches the
/// hotkeys on and then starts the updater (when this build checks for updates of its own).
class KestavonApp {
public:
    KestavonApp();
    ~KestavonApp();

    /// Shows the window; the start-up task runs once it is on screen.
    void showWindow();
    /// Starts with no window (at login): the start-up task runs, and the window is made when it
    /// is first asked for.
    void startInBackground();
    /// Shows the window, restored and in front (another start of Kestavon or the tray asked for it).
    void bringWindowForward();
    /// Hotkeys first, then updates. Runs on the main thread, once.
    void runStartupTask();
    /// Puts the icon in the desktop's tray, once the window is first painted (or at once when
    /// starting in the background) or, when the tray is not there yet (its panel may start
    /// after Kestavon at login), as soon as it appears within a minute.
    void showTrayIcon();

    ContentView* window() const { return window_.get(); }
    SparkleUpdateController& updateController() { return updateController_; }

private:
    void makeWindow();
    void scheduleStartupTask();
    /// What the window's first look does not need: the start-up task, the stored language and
    /// the tray icon.
    void finishStart();

    SparkleUpdateController updateController_;
#ifndef Q_OS_MACOS
    // The appcast updater's windows; Sparkle on macOS shows its own.
    std::unique_ptr<UpdateAlertView> alerts_;
#endif
    std::unique_ptr<ContentView> window_;
    std::unique_ptr<TrayIcon> tray_;
    std::unique_ptr<QTimer> trayWait_;
    bool startupScheduled_ = false;
    bool started_ = false;
    bool trayWanted_ = false;
};

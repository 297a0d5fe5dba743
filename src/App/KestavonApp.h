#pragma once

#include "Updates/SparkleUpdateController.h"

#include <memory>

class ContentView;
#ifndef Q_OS_MACOS
class UpdateAlertView;
#endif

/// The application: English as its language, one update controller for the process, the one
/// window, and the start-up task that switches the hotkeys on and then starts the updater
/// when the window is first shown.
class KestavonApp {
public:
    KestavonApp();
    ~KestavonApp();

    /// Shows the window; the start-up task runs once it is on screen.
    void showWindow();
    /// Shows the window again, restored and in front (another start of Kestavon asked for it).
    void bringWindowForward();
    /// Hotkeys first, then updates. Runs on the main thread.
    void runStartupTask();

    ContentView* window() const { return window_.get(); }
    SparkleUpdateController& updateController() { return updateController_; }

private:
    SparkleUpdateController updateController_;
#ifndef Q_OS_MACOS
    // The appcast updater's windows; Sparkle on macOS shows its own.
    std::unique_ptr<UpdateAlertView> alerts_;
#endif
    std::unique_ptr<ContentView> window_;
};

#pragma once

#include "Updates/SparkleUpdateController.h"

#include <memory>

class ContentView;
class UpdateAlertView;

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
    std::unique_ptr<UpdateAlertView> alerts_;
    std::unique_ptr<ContentView> window_;
};

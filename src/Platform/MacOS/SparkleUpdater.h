#pragma once

#include "Platform/UpdaterPort.h"

#include <memory>

/// The update framework on macOS: Sparkle 2's standard updater controller, whose standard user
/// driver shows the framework's own windows, with a delegate that passes the framework's
/// messages on to the application. Main thread only, as the framework requires.
class SparkleUpdater final : public UpdaterPort {
public:
    SparkleUpdater();
    ~SparkleUpdater() override;

    std::optional<QString> startUpdater(UpdaterDelegate& delegate) override;
    void checkForUpdates() override;

private:
    struct Objects;
    std::unique_ptr<Objects> objects_;
};

#pragma once

#include "Platform/UpdaterPort.h"

#include <QString>

#include <optional>

/// A scripted update framework: it starts or refuses to start as told, counts what it was
/// asked, and lets a test send the delegate each framework message.
class FakeUpdater final : public UpdaterPort {
public:
    std::optional<QString> startUpdater(UpdaterDelegate& delegate) override;
    void checkForUpdates() override;

    /// The next starts fail with this text while it is set.
    std::optional<QString> startError;
    int startCalls = 0;
    int checkCalls = 0;

    /// The delegate of the started updater, if it has started.
    UpdaterDelegate* delegate() const { return delegate_; }

    /// Each sends the delegate the framework message of the same name; false before a start.
    bool didNotFindUpdate();
    bool willDownloadUpdate();
    bool didDownloadUpdate();
    bool failedToDownloadUpdate(const QString& errorDescription);

private:
    UpdaterDelegate* delegate_ = nullptr;
};

#pragma once

#include "Platform/UpdaterPort.h"
#include "Updates/UpdateCheckState.h"
#include "Updates/UpdateTracker.h"

#include <QObject>
#include <QString>

#include <optional>

/// Connects the application to the update framework: starts its updater once, turns the
/// framework's messages into one published `state` for the About tab, and lets the user's
/// "SUFeedURL" setting replace the feed address. It changes no setting of the framework.
/// Everything happens on the main thread.
class SparkleUpdateController final : public QObject, public UpdaterDelegate {
    Q_OBJECT
    Q_PROPERTY(UpdateCheckState state READ state NOTIFY stateChanged)

public:
    /// Idle, with no updater; nothing is started.
    explicit SparkleUpdateController(QObject* parent = nullptr);

    /// The published state; `stateChanged` tells when it changes.
    const UpdateCheckState& state() const { return state_; }
    const UpdateTracker& tracker() const { return tracker_; }
    /// Whether the framework's updater has started.
    bool hasUpdater() const { return updater_ != nullptr; }

    /// Starts the platform's updater; see start(UpdaterPort&).
    std::optional<QString> start();
    /// Starts `updater` with this controller as its delegate and keeps it. Does nothing once an
    /// updater is kept. Returns the framework's error text when it refuses to start; the state is
    /// left as it is, for the caller to show with showStartFailure().
    std::optional<QString> start(UpdaterPort& updater);
    /// Shows a start that failed: `failed` with the framework's text.
    void showStartFailure(const QString& message);

    /// The check the user asks for: `checking`, and the updater is asked to check. Without an
    /// updater no answer could ever come, so the state goes straight to `failed` with the reason
    /// the updater is missing.
    void checkForUpdates();

    void noUpdateFound() override;
    void downloadStarting() override;
    void downloadFinished() override;
    void downloadFailed(const QString& errorDescription) override;
    /// The user's "SUFeedURL" setting, if any.
    void checkFinished(const std::optional<QString>& errorDescription) override;
    std::optional<QString> feedAddress() override;

    /// The reason shown when a check is asked for before any start was tried.
    static QString notStartedMessage();

signals:
    void stateChanged();

private:
    void setState(const UpdateCheckState& state);

    UpdateCheckState state_;
    UpdateTracker tracker_;
    UpdaterPort* updater_ = nullptr;
    /// Why the last start failed, kept for a check asked for afterwards.
    std::optional<QString> startError_;
};

#include "Updates/SparkleUpdateController.h"

#include "Platform/Platform.h"
#include "Updates/UpdateFeedOverride.h"

#include <QSettings>

SparkleUpdateController::SparkleUpdateController(QObject* parent) : QObject(parent) {}

std::optional<QString> SparkleUpdateController::start() {
    return start(Platform::current().updater());
}

std::optional<QString> SparkleUpdateController::start(UpdaterPort& updater) {
    // A second start, from a second window, must not create a second updater.
    if (updater_ != nullptr) return std::nullopt;
    std::optional<QString> error = updater.startUpdater(*this);
    if (error) {
        startError_ = error;
        return error;
    }
    startError_.reset();
    updater_ = &updater;
    return std::nullopt;
}

void SparkleUpdateController::showStartFailure(const QString& message) {
    setState(UpdateCheckState::failed(message));
}

void SparkleUpdateController::checkForUpdates() {
    if (updater_ == nullptr) {
        setState(UpdateCheckState::failed(startError_.value_or(notStartedMessage())));
        return;
    }
    setState(UpdateCheckState::checking());
    updater_->checkForUpdates();
}

void SparkleUpdateController::noUpdateFound() {
    setState(UpdateCheckState::upToDate());
}

void SparkleUpdateController::downloadStarting() {
    // No progress message is handled: the download shows 0 % until it ends.
    setState(UpdateCheckState::downloading(0.0));
}

void SparkleUpdateController::downloadFinished() {
    setState(UpdateCheckState::idle());
}

void SparkleUpdateController::downloadFailed(const QString& errorDescription) {
    setState(UpdateCheckState::failed(errorDescription));
}

void SparkleUpdateController::checkFinished(const std::optional<QString>& errorDescription) {
    // A check that ended without one of the messages above (the feed failed, the offer was
    // dismissed) would otherwise leave the page in "checking" with its button disabled for
    // the rest of the run.
    if (state_ != UpdateCheckState::checking()) return;
    setState(errorDescription ? UpdateCheckState::failed(*errorDescription) : UpdateCheckState::idle());
}

std::optional<QString> SparkleUpdateController::feedAddress() {
    return UpdateFeedOverride::urlString(QSettings());
}

QString SparkleUpdateController::notStartedMessage() {
    return QStringLiteral("The updater has not been started.");
}

void SparkleUpdateController::setState(const UpdateCheckState& state) {
    tracker_.state = state;
    if (state_ == tracker_.state) return;
    state_ = tracker_.state;
    emit stateChanged();
}

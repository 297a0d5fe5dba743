#include "Platform/Fake/FakeUpdater.h"

std::optional<QString> FakeUpdater::startUpdater(UpdaterDelegate& delegate) {
    ++startCalls;
    if (startError) return startError;
    delegate_ = &delegate;
    return std::nullopt;
}

void FakeUpdater::checkForUpdates() {
    ++checkCalls;
}

bool FakeUpdater::didNotFindUpdate() {
    if (delegate_ == nullptr) return false;
    delegate_->noUpdateFound();
    return true;
}

bool FakeUpdater::willDownloadUpdate() {
    if (delegate_ == nullptr) return false;
    delegate_->downloadStarting();
    return true;
}

bool FakeUpdater::didDownloadUpdate() {
    if (delegate_ == nullptr) return false;
    delegate_->downloadFinished();
    return true;
}

bool FakeUpdater::failedToDownloadUpdate(const QString& errorDescription) {
    if (delegate_ == nullptr) return false;
    delegate_->downloadFailed(errorDescription);
    return true;
}

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
    delegate_->updaterDidNotFindUpdate();
    return true;
}

bool FakeUpdater::willDownloadUpdate() {
    if (delegate_ == nullptr) return false;
    delegate_->updaterWillDownloadUpdate();
    return true;
}

bool FakeUpdater::didDownloadUpdate() {
    if (delegate_ == nullptr) return false;
    delegate_->updaterDidDownloadUpdate();
    return true;
}

bool FakeUpdater::failedToDownloadUpdate(const QString& errorDescription) {
    if (delegate_ == nullptr) return false;
    delegate_->updaterFailedToDownloadUpdate(errorDescription);
    return true;
}

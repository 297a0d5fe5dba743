#include "FakeWorkspace.h"

#include "FakeDesktop.h"

#include <QFileInfo>

QList<RunningApplication> FakeWorkspace::runningApplications() {
    std::lock_guard lock(desktop_.mutex);
    return QList<RunningApplication>(desktop_.apps.begin(), desktop_.apps.end());
}

std::optional<RunningApplication> FakeWorkspace::runningApplication(std::int32_t pid) {
    std::lock_guard lock(desktop_.mutex);
    return desktop_.app(pid);
}

std::optional<RunningApplication> FakeWorkspace::frontmostApplication() {
    std::lock_guard lock(desktop_.mutex);
    const auto pid = desktop_.currentFrontmost();
    return pid ? desktop_.app(*pid) : std::nullopt;
}

void FakeWorkspace::openApplication(const QString& path, const OpenConfiguration& configuration,
                                    OpenCompletion completion) {
    std::unique_lock lock(desktop_.mutex);
    desktop_.openedPaths.push_back(path);
    std::optional<RunningApplication> instance;
    std::optional<QString> error;
    switch (desktop_.launch) {
    case FakeDesktop::Launch::never:
        if (completion) desktop_.pendingLaunches.push_back(std::move(completion));
        return;
    case FakeDesktop::Launch::fail:
        error = desktop_.launchFailure;
        break;
    case FakeDesktop::Launch::noInstance:
        break;
    case FakeDesktop::Launch::succeed: {
        for (const auto& a : desktop_.apps)
            if (a.bundleURL == path && !configuration.createsNewApplicationInstance) instance = a;
        if (!instance) {
            const auto known = desktop_.installed.value(path, {QString(), QFileInfo(path).completeBaseName()});
            const auto pid = desktop_.addApp(known.second, known.first.isEmpty() ? std::nullopt : std::optional(known.first), path);
            instance = desktop_.app(pid);
        }
        if (configuration.activates) desktop_.requestActivation(instance->processIdentifier);
        break;
    }
    }
    lock.unlock();
    if (completion) completion(instance, error);
}

bool FakeWorkspace::activate(std::int32_t pid) {
    std::lock_guard lock(desktop_.mutex);
    if (!desktop_.app(pid)) return false;
    desktop_.requestActivation(pid);
    return true;
}

void FakeWorkspace::activateIgnoringOtherApps() {
    std::lock_guard lock(desktop_.mutex);
    ++desktop_.selfActivations;
}

bool FakeWorkspace::openURL(const QString& url) {
    std::lock_guard lock(desktop_.mutex);
    desktop_.openedURLs.push_back(url);
    return true;
}

#include "FakeDesktop.h"

#include "FakeTime.h"

#include <QFileInfo>

std::int32_t FakeDesktop::addApp(const QString& name, const std::optional<QString>& bundleId,
                                 const std::optional<QString>& bundlePath) {
    std::lock_guard lock(mutex);
    const std::int32_t pid = nextPid_++;
    apps.push_back(RunningApplication{pid, name, bundleId, bundlePath});
    return pid;
}

std::uint32_t FakeDesktop::addWindow(std::int32_t pid, QRectF frame, std::uint64_t space, bool minimized) {
    std::lock_guard lock(mutex);
    Window w;
    w.id = nextWindow_++;
    w.pid = pid;
    const auto owner = app(pid);
    w.ownerName = owner && owner->localizedName ? owner->localizedName : QStringLiteral("proc%1").arg(pid);
    w.title = QStringLiteral("Window %1").arg(w.id);
    w.frame = frame;
    w.space = space;
    w.minimized = minimized;
    windows.push_back(w);
    return w.id;
}

FakeDesktop::Display* FakeDesktop::displayOfSpace(std::uint64_t space) {
    for (auto& display : displays)
        for (const auto& s : display.spaces)
            if (s.id == space) return &display;
    return nullptr;
}

FakeDesktop::Window* FakeDesktop::window(std::uint32_t id) {
    std::lock_guard lock(mutex);
    const auto indexed = [&]() -> Window* {
        const auto found = windowIndex_.find(id);
        if (found == windowIndex_.end() || found->second >= windows.size() || windows[found->second].id != id)
            return nullptr;
        return &windows[found->second];
    };
    if (Window* w = indexed()) return w;
    // Scripted since the index was built: rebuild it, the front-most window of a number first.
    windowIndex_.clear();
    windowIndex_.reserve(windows.size());
    for (std::size_t i = windows.size(); i-- > 0;) windowIndex_[windows[i].id] = i;
    return indexed();
}

std::optional<RunningApplication> FakeDesktop::app(std::int32_t pid) const {
    for (const auto& a : apps)
        if (a.processIdentifier == pid) return a;
    return std::nullopt;
}

bool FakeDesktop::isOnscreen(const Window& w) const {
    if (w.minimized) return false;
    if (w.space == 0) return true;
    for (const auto& display : displays)
        for (const auto& s : display.spaces)
            if (s.id == w.space) return display.currentSpace == w.space;
    return false;
}

std::optional<std::int32_t> FakeDesktop::currentFrontmost() {
    std::lock_guard lock(mutex);
    if (pendingActivation_ && time.now() >= activationDue_) {
        if (app(*pendingActivation_)) frontmostPid = pendingActivation_;
        pendingActivation_.reset();
    }
    if (frontmostPid && !app(*frontmostPid)) frontmostPid.reset();
    return frontmostPid;
}

void FakeDesktop::requestActivation(std::int32_t pid) {
    std::lock_guard lock(mutex);
    activationRequests.push_back(pid);
    if (!app(pid)) return;
    switch (activation) {
    case Activation::immediate:
        frontmostPid = pid;
        break;
    case Activation::delayed:
        pendingActivation_ = pid;
        activationDue_ = time.now() + std::chrono::duration<double>(activationDelay).count();
        break;
    case Activation::never:
        break;
    }
}


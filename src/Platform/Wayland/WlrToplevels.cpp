#include "WlrToplevels.h"

#include "wlr-foreign-toplevel-management-unstable-v1-client-protocol.h"

#include <wayland-client.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

constexpr std::uint32_t managerVersion = 3;
// Version 4 adds the output's name and description.
constexpr std::uint32_t outputVersion = 4;

} // namespace

const WlrToplevel* WlrSnapshot::toplevel(std::uint32_t number) const {
    for (const WlrToplevel& t : toplevels)
        if (t.number == number) return &t;
    return nullptr;
}

WlrToplevelState WlrToplevelState::from(const std::uint32_t* states, std::size_t count) {
    WlrToplevelState state;
    for (std::size_t i = 0; i < count; ++i) {
        switch (states[i]) {
        case ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_MAXIMIZED: state.maximized = true; break;
        case ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_MINIMIZED: state.minimized = true; break;
        case ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_ACTIVATED: state.activated = true; break;
        case ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_FULLSCREEN: state.fullscreen = true; break;
        default: break;
        }
    }
    return state;
}

struct WlrToplevels::State {
    struct Output {
        State* state = nullptr;
        wl_output* proxy = nullptr;
        std::uint32_t global = 0;
        WlrOutput value;
        QPointF position;
        QSizeF mode;
        int scale = 1;
    };
    struct Handle {
        State* state = nullptr;
        zwlr_foreign_toplevel_handle_v1* proxy = nullptr;
        /// What the compositor sent since its last `done`, and what it said by then.
        WlrToplevel pending;
        WlrToplevel shown;
        std::vector<wl_output*> outputs;
        std::uint64_t lastActivated = 0;
        bool announced = false;
    };

    wl_display* display = nullptr;
    wl_registry* registry = nullptr;
    zwlr_foreign_toplevel_manager_v1* manager = nullptr;
    wl_seat* seat = nullptr;
    std::vector<std::unique_ptr<Output>> outputs;
    std::vector<std::unique_ptr<Handle>> handles;
    std::vector<std::pair<QString, std::int32_t>> applications;
    std::uint32_t nextNumber = 1;
    std::uint64_t clock = 0;
    bool changed = false;
    bool gone = false;

    ~State() {
        for (auto& h : handles) zwlr_foreign_toplevel_handle_v1_destroy(h->proxy);
        for (auto& o : outputs) wl_output_destroy(o->proxy);
        if (manager) zwlr_foreign_toplevel_manager_v1_destroy(manager);
        if (seat) wl_seat_destroy(seat);
        if (registry) wl_registry_destroy(registry);
        if (display) wl_display_disconnect(display);
    }

    std::int32_t applicationOf(const WlrToplevel& t) {
        const QString key = t.appId.isEmpty() ? QStringLiteral("\n%1").arg(t.number) : t.appId;
        for (const auto& [known, number] : applications)
            if (known == key) return number;
        const auto number = std::int32_t(applications.size() + 1);
        applications.emplace_back(key, number);
        return number;
    }

    QString outputName(wl_output* proxy) const {
        for (const auto& o : outputs)
            if (o->proxy == proxy) return o->value.name;
        return {};
    }

    WlrSnapshot snapshot() const {
        std::vector<const Handle*> shown;
        for (const auto& h : handles)
            if (h->announced) shown.push_back(h.get());
        std::stable_sort(shown.begin(), shown.end(),
                         [](const Handle* a, const Handle* b) { return a->lastActivated > b->lastActivated; });
        WlrSnapshot snapshot;
        for (const Handle* h : shown) {
            WlrToplevel t = h->shown;
            t.outputs.clear();
            for (wl_output* o : h->outputs)
                if (const QString name = outputName(o); !name.isEmpty()) t.outputs.push_back(name);
            snapshot.toplevels.push_back(std::move(t));
        }
        for (const auto& o : outputs) snapshot.outputs.push_back(o->value);
        return snapshot;
    }

    Handle* handle(std::uint32_t number) {
        for (auto& h : handles)
            if (h->announced && h->shown.number == number) return h.get();
        return nullptr;
    }
};

namespace {

using State = WlrToplevels::State;

void outputGeometry(void* data, wl_output*, int32_t x, int32_t y, int32_t, int32_t, int32_t, const char* make,
                    const char* model, int32_t) {
    auto* o = static_cast<State::Output*>(data);
    o->position = QPointF(x, y);
    if (o->value.description.isEmpty())
        o->value.description = QString::fromUtf8(make) + QLatin1Char(' ') + QString::fromUtf8(model);
}
void outputMode(void* data, wl_output*, uint32_t flags, int32_t width, int32_t height, int32_t) {
    if (flags & WL_OUTPUT_MODE_CURRENT) static_cast<State::Output*>(data)->mode = QSizeF(width, height);
}
void outputDone(void* data, wl_output*) {
    auto* o = static_cast<State::Output*>(data);
    // The layout is in logical points: the mode's pixels over the output's scale.
    o->value.rect = QRectF(o->position, o->mode / std::max(o->scale, 1));
    o->state->changed = true;
}
void outputScale(void* data, wl_output*, int32_t factor) {
    static_cast<State::Output*>(data)->scale = factor;
}
void outputName(void* data, wl_output*, const char* name) {
    static_cast<State::Output*>(data)->value.name = QString::fromUtf8(name);
}
void outputDescription(void* data, wl_output*, const char* description) {
    static_cast<State::Output*>(data)->value.description = QString::fromUtf8(description);
}
const wl_output_listener outputListener = {outputGeometry, outputMode, outputDone, outputScale, outputName,
                                           outputDescription};

void toplevelTitle(void* data, zwlr_foreign_toplevel_handle_v1*, const char* title) {
    static_cast<State::Handle*>(data)->pending.title = QString::fromUtf8(title);
}
void toplevelAppId(void* data, zwlr_foreign_toplevel_handle_v1*, const char* appId) {
    static_cast<State::Handle*>(data)->pending.appId = QString::fromUtf8(appId);
}
void toplevelOutputEnter(void* data, zwlr_foreign_toplevel_handle_v1*, wl_output* output) {
    auto* h = static_cast<State::Handle*>(data);
    if (std::find(h->outputs.begin(), h->outputs.end(), output) == h->outputs.end()) h->outputs.push_back(output);
}
void toplevelOutputLeave(void* data, zwlr_foreign_toplevel_handle_v1*, wl_output* output) {
    std::erase(static_cast<State::Handle*>(data)->outputs, output);
}
void toplevelState(void* data, zwlr_foreign_toplevel_handle_v1*, wl_array* states) {
    const WlrToplevelState s =
        WlrToplevelState::from(static_cast<const std::uint32_t*>(states->data), states->size / sizeof(std::uint32_t));
    WlrToplevel& t = static_cast<State::Handle*>(data)->pending;
    t.activated = s.activated;
    t.minimized = s.minimized;
    t.maximized = s.maximized;
    t.fullscreen = s.fullscreen;
}
void toplevelDone(void* data, zwlr_foreign_toplevel_handle_v1*) {
    auto* h = static_cast<State::Handle*>(data);
    if (h->pending.activated && !(h->announced && h->shown.activated)) h->lastActivated = ++h->state->clock;
    h->pending.application = h->state->applicationOf(h->pending);
    h->shown = h->pending;
    h->announced = true;
    h->state->changed = true;
}
void toplevelClosed(void* data, zwlr_foreign_toplevel_handle_v1* proxy) {
    auto* h = static_cast<State::Handle*>(data);
    State* state = h->state;
    zwlr_foreign_toplevel_handle_v1_destroy(proxy);
    std::erase_if(state->handles, [h](const auto& held) { return held.get() == h; });
    state->changed = true;
}
void toplevelParent(void*, zwlr_foreign_toplevel_handle_v1*, zwlr_foreign_toplevel_handle_v1*) {}
const zwlr_foreign_toplevel_handle_v1_listener toplevelListener = {
    toplevelTitle, toplevelAppId, toplevelOutputEnter, toplevelOutputLeave, toplevelState,
    toplevelDone,  toplevelClosed, toplevelParent};

void managerToplevel(void* data, zwlr_foreign_toplevel_manager_v1*, zwlr_foreign_toplevel_handle_v1* proxy) {
    auto* state = static_cast<State*>(data);
    auto handle = std::make_unique<State::Handle>();
    handle->state = state;
    handle->proxy = proxy;
    handle->pending.number = state->nextNumber++;
    zwlr_foreign_toplevel_handle_v1_add_listener(proxy, &toplevelListener, handle.get());
    state->handles.push_back(std::move(handle));
}
void managerFinished(void* data, zwlr_foreign_toplevel_manager_v1* manager) {
    auto* state = static_cast<State*>(data);
    zwlr_foreign_toplevel_manager_v1_destroy(manager);
    state->manager = nullptr;
    state->gone = true;
}
const zwlr_foreign_toplevel_manager_v1_listener managerListener = {managerToplevel, managerFinished};

void registryGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t version) {
    auto* state = static_cast<State*>(data);
    if (std::strcmp(interface, zwlr_foreign_toplevel_manager_v1_interface.name) == 0 && !state->manager) {
        state->manager = static_cast<zwlr_foreign_toplevel_manager_v1*>(wl_registry_bind(
            registry, name, &zwlr_foreign_toplevel_manager_v1_interface, std::min(version, managerVersion)));
        zwlr_foreign_toplevel_manager_v1_add_listener(state->manager, &managerListener, state);
    } else if (std::strcmp(interface, wl_seat_interface.name) == 0 && !state->seat) {
        state->seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    } else if (std::strcmp(interface, wl_output_interface.name) == 0) {
        auto output = std::make_unique<State::Output>();
        output->state = state;
        output->global = name;
        // Until the output names itself (version 4), it is known by its global's number.
        output->value.name = QStringLiteral("output-%1").arg(name);
        output->proxy = static_cast<wl_output*>(
            wl_registry_bind(registry, name, &wl_output_interface, std::min(version, outputVersion)));
        wl_output_add_listener(output->proxy, &outputListener, output.get());
        state->outputs.push_back(std::move(output));
    }
}
void registryGlobalRemove(void* data, wl_registry*, uint32_t name) {
    auto* state = static_cast<State*>(data);
    std::erase_if(state->outputs, [&](const auto& o) {
        if (o->global != name) return false;
        wl_output_destroy(o->proxy);
        return true;
    });
    state->changed = true;
}
const wl_registry_listener registryListener = {registryGlobal, registryGlobalRemove};

void syncDone(void* data, wl_callback* callback, uint32_t) {
    *static_cast<bool*>(data) = true;
    wl_callback_destroy(callback);
}
const wl_callback_listener syncListener = {syncDone};

} // namespace

WlrToplevels::WlrToplevels() : state_(std::make_unique<State>()) {}

bool WlrToplevels::isOffered() {
    State state;
    state.display = wl_display_connect(nullptr);
    if (!state.display) return false;
    state.registry = wl_display_get_registry(state.display);
    // Only the globals are looked at: nothing is bound.
    bool offered = false;
    static const wl_registry_listener look = {
        [](void* data, wl_registry*, uint32_t, const char* interface, uint32_t) {
            if (std::strcmp(interface, zwlr_foreign_toplevel_manager_v1_interface.name) == 0)
                *static_cast<bool*>(data) = true;
        },
        [](void*, wl_registry*, uint32_t) {}};
    wl_registry_add_listener(state.registry, &look, &offered);
    return wl_display_roundtrip(state.display) >= 0 && offered;
}

std::unique_ptr<WlrToplevels> WlrToplevels::connect(QString* whyNot) {
    std::unique_ptr<WlrToplevels> toplevels(new WlrToplevels);
    State& state = *toplevels->state_;
    state.display = wl_display_connect(nullptr);
    if (!state.display) {
        *whyNot = QStringLiteral("The Wayland display %1 does not answer.").arg(qEnvironmentVariable("WAYLAND_DISPLAY"));
        return nullptr;
    }
    state.registry = wl_display_get_registry(state.display);
    wl_registry_add_listener(state.registry, &registryListener, &state);
    // The globals, then what the bound objects say first (outputs, the windows open now).
    if (wl_display_roundtrip(state.display) < 0 || wl_display_roundtrip(state.display) < 0) {
        *whyNot = QStringLiteral("The Wayland display closed the connection.");
        return nullptr;
    }
    if (!state.manager || !state.seat) {
        *whyNot = QStringLiteral("This Wayland compositor offers no window list to other programs.");
        return nullptr;
    }
    if (::pipe2(toplevels->wake_, O_CLOEXEC) != 0) {
        *whyNot = QStringLiteral("No pipe for the Wayland reader.");
        return nullptr;
    }
    toplevels->reader_ = std::thread([t = toplevels.get()] { t->run(); });
    return toplevels;
}

WlrToplevels::~WlrToplevels() {
    if (reader_.joinable()) {
        const char stop = 0;
        [[maybe_unused]] const auto written = ::write(wake_[1], &stop, 1);
        reader_.join();
    }
    for (const int fd : wake_)
        if (fd >= 0) ::close(fd);
}

void WlrToplevels::run() {
    wl_display* display = state_->display;
    const auto lost = [this] {
        std::lock_guard lock(mutex_);
        state_->gone = true;
        answered_.notify_all();
    };
    for (;;) {
        std::function<void()> notify;
        {
            std::lock_guard lock(mutex_);
            while (wl_display_prepare_read(display) != 0)
                if (wl_display_dispatch_pending(display) < 0) {
                    state_->gone = true;
                    answered_.notify_all();
                    return;
                }
            answered_.notify_all();
            if (std::exchange(state_->changed, false)) notify = changed_;
        }
        if (notify) notify();
        wl_display_flush(display);
        pollfd fds[2] = {{wl_display_get_fd(display), POLLIN, 0}, {wake_[0], POLLIN, 0}};
        int ready;
        do ready = ::poll(fds, 2, -1);
        while (ready < 0 && errno == EINTR);
        if (ready < 0 || fds[1].revents) {
            wl_display_cancel_read(display);
            return lost();
        }
        if (!(fds[0].revents & POLLIN)) {
            wl_display_cancel_read(display);
            return lost();
        }
        if (wl_display_read_events(display) < 0) return lost();
        std::lock_guard lock(mutex_);
        if (wl_display_dispatch_pending(display) < 0) state_->gone = true;
        answered_.notify_all();
        if (state_->gone) return;
    }
}

std::optional<WlrSnapshot> WlrToplevels::current() {
    std::unique_lock lock(mutex_);
    if (state_->gone) return std::nullopt;
    bool done = false;
    wl_callback* callback = wl_display_sync(state_->display);
    wl_callback_add_listener(callback, &syncListener, &done);
    wl_display_flush(state_->display);
    answered_.wait(lock, [&] { return done || state_->gone; });
    if (!done) return std::nullopt;
    return state_->snapshot();
}

WlrSnapshot WlrToplevels::latest() {
    std::lock_guard lock(mutex_);
    return state_->snapshot();
}

bool WlrToplevels::activate(std::uint32_t number) {
    std::lock_guard lock(mutex_);
    State::Handle* h = state_->gone ? nullptr : state_->handle(number);
    if (!h) return false;
    zwlr_foreign_toplevel_handle_v1_activate(h->proxy, state_->seat);
    return wl_display_flush(state_->display) >= 0 || errno == EAGAIN;
}

bool WlrToplevels::unsetMinimized(std::uint32_t number) {
    std::lock_guard lock(mutex_);
    State::Handle* h = state_->gone ? nullptr : state_->handle(number);
    if (!h) return false;
    zwlr_foreign_toplevel_handle_v1_unset_minimized(h->proxy);
    return wl_display_flush(state_->display) >= 0 || errno == EAGAIN;
}

void WlrToplevels::setChanged(std::function<void()> changed) {
    std::lock_guard lock(mutex_);
    changed_ = std::move(changed);
}

#pragma once

#include "SwayIpc.h"

#include <atomic>
#include <functional>
#include <optional>

/// sway's events of some kinds, read on one thread until stopped from any other: a connection
/// of its own subscribed to them, and a wake-up for pokes and for the stop.
class SwayEventStream final {
public:
    /// Subscribes to `eventNames` (a JSON array: ["binding"]) on the socket at `socketPath`;
    /// nothing when sway does not answer.
    static std::optional<SwayEventStream> open(const QString& socketPath, const QByteArray& eventNames);
    SwayEventStream(SwayEventStream&& other) noexcept;
    SwayEventStream(const SwayEventStream&) = delete;
    ~SwayEventStream();

    /// Hands each event to `event` and each poke to `poked` until stop() or until sway goes
    /// away; true when it ended by stop().
    bool run(const std::function<void(const SwayIpc::Message&)>& event, const std::function<void()>& poked);
    /// Wakes run() to call `poked`.
    void poke();
    /// Makes run() return; may be called before run().
    void stop();

private:
    SwayEventStream(SwayIpc ipc, int wake) : ipc_(std::move(ipc)), wake_(wake) {}

    SwayIpc ipc_;
    int wake_ = -1;
    std::atomic<bool> stopping_{false};
};

#include "SwayEventStream.h"

#include <cerrno>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

std::optional<SwayEventStream> SwayEventStream::open(const QString& socketPath,
                                                     const QByteArray& eventNames) {
    auto ipc = SwayIpc::open(socketPath);
    if (!ipc || !ipc->subscribeTo(eventNames)) return std::nullopt;
    const int wake = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wake < 0) return std::nullopt;
    return SwayEventStream(std::move(*ipc), wake);
}

SwayEventStream::SwayEventStream(SwayEventStream&& other) noexcept
    : ipc_(std::move(other.ipc_)), wake_(other.wake_), stopping_(other.stopping_.load()) {
    other.wake_ = -1;
}

SwayEventStream::~SwayEventStream() {
    if (wake_ >= 0) ::close(wake_);
}

void SwayEventStream::poke() {
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = ::write(wake_, &one, sizeof one);
}

void SwayEventStream::stop() {
    stopping_ = true;
    poke();
}

bool SwayEventStream::run(const std::function<void(const SwayIpc::Message&)>& event,
                          const std::function<void()>& poked) {
    while (!stopping_) {
        pollfd fds[2] = {{wake_, POLLIN, 0}, {ipc_.fd(), POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (fds[0].revents & POLLIN) {
            std::uint64_t count = 0;
            [[maybe_unused]] const auto read = ::read(wake_, &count, sizeof count);
            if (stopping_) break;
            if (poked) poked();
        }
        if (fds[1].revents & (POLLIN | POLLHUP | POLLERR)) {
            const auto message = ipc_.next(std::chrono::milliseconds(0));
            if (message)
                event(*message);
            else if (ipc_.isBroken())
                return stopping_;
        }
    }
    return true;
}

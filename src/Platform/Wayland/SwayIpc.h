#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>

/// One connection to sway's IPC socket: messages framed as "i3-ipc", a 32-bit length and a
/// 32-bit type in native byte order, then the JSON payload. A connection is either for
/// requests (one answer per message, in order) or, once subscribed, for events only.
/// Thread-safe: one request at a time.
class SwayIpc final {
public:
    /// Message types (requests; event replies have the high bit set).
    enum Type : std::uint32_t {
        runCommand = 0,
        getWorkspaces = 1,
        subscribe = 2,
        getOutputs = 3,
        getTree = 4,
        getVersion = 7,
        getBindingModes = 8,
        getConfig = 9,
        getInputs = 100,
    };
    /// Event types as they arrive (high bit set).
    static constexpr std::uint32_t eventBit = 0x80000000u;
    static constexpr std::uint32_t workspaceEvent = eventBit | 0;
    static constexpr std::uint32_t windowEvent = eventBit | 3;
    static constexpr std::uint32_t bindingEvent = eventBit | 5;
    static constexpr std::uint32_t shutdownEvent = eventBit | 6;

    /// Largest payload accepted; a bigger one counts as a broken connection.
    static constexpr std::uint32_t maxPayload = 64u << 20;

    struct Message {
        std::uint32_t type = 0;
        QByteArray payload;
    };

    /// Connects to the socket at `path` ($SWAYSOCK when empty); nothing when it does not answer.
    static std::optional<SwayIpc> open(const QString& path = {});
    /// The socket path sway names in the environment, empty when there is none.
    static QString socketPath();

    SwayIpc(SwayIpc&& other) noexcept;
    SwayIpc& operator=(SwayIpc&&) = delete;
    SwayIpc(const SwayIpc&) = delete;
    ~SwayIpc();

    /// Sends one request and reads its answer; nothing when the connection failed or no answer
    /// came within `timeout`. A request connection that failed connects again on the next request.
    std::optional<QByteArray> request(std::uint32_t type, const QByteArray& payload = {},
                                      std::chrono::milliseconds timeout = std::chrono::seconds(2));
    /// Runs sway commands; true when every one of them succeeded.
    bool run(const QString& commands);
    /// Turns this connection into an event stream for the named events ("binding", "window").
    bool subscribeTo(const QByteArray& eventNamesJson);
    /// Waits up to `timeout` for the next message (an event once subscribed); nothing on a time-out
    /// or a broken connection (see isBroken()). A negative timeout waits for ever.
    std::optional<Message> next(std::chrono::milliseconds timeout);
    /// `text` as one argument of a sway command: in double quotes, with quotes and
    /// backslashes escaped.
    static QString quoted(const QString& text);
    /// The current layout tree (GET_TREE); nothing when it cannot be read.
    std::optional<QByteArray> tree() { return request(getTree); }

    /// The socket, for polling beside other files.
    int fd() const { return fd_; }
    bool isBroken() const { return fd_ < 0; }

private:
    SwayIpc(int fd, QByteArray path) : fd_(fd), path_(std::move(path)) {}
    static int connectTo(const QByteArray& path);
    bool writeAll(const char* data, std::size_t size);
    bool readExactly(char* data, std::size_t size, std::chrono::steady_clock::time_point deadline,
                     bool endless);
    void close();

    int fd_ = -1;
    QByteArray path_;
    /// A request connection opens again after a failure; an event stream does not (its
    /// subscriptions went with it).
    bool subscribed_ = false;
    std::mutex mutex_;
};

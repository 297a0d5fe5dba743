#include "SwayIpc.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

constexpr char magic[] = {'i', '3', '-', 'i', 'p', 'c'};
constexpr std::size_t headerSize = sizeof magic + 8;

} // namespace

QString SwayIpc::socketPath() {
    return qEnvironmentVariable("SWAYSOCK");
}

int SwayIpc::connectTo(const QByteArray& path) {
    sockaddr_un address{};
    if (path.isEmpty() || std::size_t(path.size()) >= sizeof address.sun_path) return -1;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), std::size_t(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

std::optional<SwayIpc> SwayIpc::open(const QString& path) {
    const QByteArray where = (path.isEmpty() ? socketPath() : path).toLocal8Bit();
    const int fd = connectTo(where);
    if (fd < 0) return std::nullopt;
    return SwayIpc(fd, where);
}

SwayIpc::SwayIpc(SwayIpc&& other) noexcept
    : fd_(other.fd_), path_(std::move(other.path_)), subscribed_(other.subscribed_) {
    other.fd_ = -1;
}

SwayIpc::~SwayIpc() {
    close();
}

void SwayIpc::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

bool SwayIpc::writeAll(const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::send(fd_, data, size, MSG_NOSIGNAL);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        data += written;
        size -= std::size_t(written);
    }
    return true;
}

bool SwayIpc::readExactly(char* data, std::size_t size, std::chrono::steady_clock::time_point deadline,
                          bool endless) {
    while (size > 0) {
        int wait = -1;
        if (!endless) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            wait = int(std::max<std::int64_t>(left.count(), 0));
        }
        pollfd p{fd_, POLLIN, 0};
        const int ready = ::poll(&p, 1, wait);
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return false;
        const ssize_t got = ::recv(fd_, data, size, 0);
        if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (got <= 0) {
            close();
            return false;
        }
        data += got;
        size -= std::size_t(got);
    }
    return true;
}

std::optional<SwayIpc::Message> SwayIpc::next(std::chrono::milliseconds timeout) {
    if (fd_ < 0) return std::nullopt;
    const bool endless = timeout.count() < 0;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    char header[headerSize];
    if (!readExactly(header, 1, deadline, endless)) return std::nullopt;
    // Once the first byte is there the rest follows at once; a sender that stops mid-message
    // has broken the stream.
    const auto rest = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    if (!readExactly(header + 1, headerSize - 1, rest, false) ||
        std::memcmp(header, magic, sizeof magic) != 0) {
        close();
        return std::nullopt;
    }
    std::uint32_t length = 0;
    Message message;
    std::memcpy(&length, header + sizeof magic, 4);
    std::memcpy(&message.type, header + sizeof magic + 4, 4);
    if (length > maxPayload) {
        close();
        return std::nullopt;
    }
    message.payload.resize(qsizetype(length));
    if (length > 0 && !readExactly(message.payload.data(), length, rest + std::chrono::seconds(2), false)) {
        close();
        return std::nullopt;
    }
    return message;
}

std::optional<QByteArray> SwayIpc::request(std::uint32_t type, const QByteArray& payload,
                                           std::chrono::milliseconds timeout) {
    std::lock_guard lock(mutex_);
    if (fd_ < 0 && !subscribed_) fd_ = connectTo(path_);
    if (fd_ < 0) return std::nullopt;
    QByteArray frame(magic, sizeof magic);
    const std::uint32_t length = std::uint32_t(payload.size());
    frame.append(reinterpret_cast<const char*>(&length), 4);
    frame.append(reinterpret_cast<const char*>(&type), 4);
    frame.append(payload);
    if (!writeAll(frame.constData(), std::size_t(frame.size()))) {
        close();
        return std::nullopt;
    }
    // Events may come between on a subscribed connection; a request connection gets none.
    while (auto message = next(timeout)) {
        if (message->type == type) return std::move(message->payload);
        if ((message->type & eventBit) == 0) break;
    }
    // An answer that never came leaves the stream out of step with the requests.
    close();
    return std::nullopt;
}

bool SwayIpc::run(const QString& commands) {
    const auto answer = request(runCommand, commands.toUtf8());
    if (!answer) return false;
    const QJsonDocument document = QJsonDocument::fromJson(*answer);
    if (!document.isArray() || document.array().isEmpty()) return false;
    for (const QJsonValue& result : document.array())
        if (!result.isObject() || result.toObject().value(QLatin1String("success")) != QJsonValue(true))
            return false;
    return true;
}

bool SwayIpc::subscribeTo(const QByteArray& eventNamesJson) {
    const auto answer = request(subscribe, eventNamesJson);
    subscribed_ = true;
    if (!answer) return false;
    const QJsonDocument document = QJsonDocument::fromJson(*answer);
    return document.isObject() && document.object().value(QLatin1String("success")) == QJsonValue(true);
}

QString SwayIpc::quoted(const QString& text) {
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\')) out += QLatin1Char('\\');
        // A line break would end the command; sway's names have none.
        out += (c == QLatin1Char('\n') || c == QLatin1Char('\r')) ? QLatin1Char(' ') : c;
    }
    return out + QLatin1Char('"');
}

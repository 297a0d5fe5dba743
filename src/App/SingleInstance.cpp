#include "App/SingleInstance.h"

#include "Support/DataFolder.h"
#include "Support/FileIO.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSocketNotifier>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// How long a later start waits for the running instance to take its call.
constexpr int answerMs = 2000;
// A request is one short line; anything longer is not ours to read.
constexpr qint64 longestRequest = 16;

constexpr mode_t privateMode = 0700;
// Only this user may call: the socket is the user's alone, as the folder it lies in.
constexpr mode_t socketMode = 0600;
constexpr int waitingCallers = 16;

// The address of the socket at `path`; nothing when the path does not fit in one.
std::optional<sockaddr_un> addressOf(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    sockaddr_un address{};
    if (native.isEmpty() || std::size_t(native.size()) >= sizeof address.sun_path) return std::nullopt;
    address.sun_family = AF_UNIX;
    std::copy(native.begin(), native.end(), address.sun_path);
    return address;
}

QString lastError() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

// A descriptor of ours alone (no program we start inherits it), waiting or not as asked, that
// never raises SIGPIPE when the other side has gone.
int ownSocket(int socket, bool waits) {
    if (socket < 0) return socket;
    ::fcntl(socket, F_SETFD, FD_CLOEXEC);
    if (!waits) ::fcntl(socket, F_SETFL, ::fcntl(socket, F_GETFL) | O_NONBLOCK);
#ifdef SO_NOSIGPIPE
    const int on = 1;
    ::setsockopt(socket, SOL_SOCKET, SO_NOSIGPIPE, &on, sizeof on);
#endif
    return socket;
}

#ifdef MSG_NOSIGNAL
constexpr int sendFlags = MSG_NOSIGNAL;
#else
constexpr int sendFlags = 0;
#endif

// A folder of this user's alone: a folder itself (not a link to one), the user's, closed to
// everyone else. Only there is whoever answers on the socket this user's own instance.
bool isPrivateFolder(const QByteArray& native) {
    struct stat info {};
    return ::lstat(native.constData(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() &&
           (info.st_mode & 077) == 0;
}

} // namespace

QString SingleInstance::socketFolder() {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && isPrivateFolder(runtime)) return QFile::decodeName(runtime);
    // Not the shared temporary folder, where another user can make the folder first: one in
    // this user's own cache folder.
    const QString own =
        QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + QStringLiteral("/kestavon");
    if (!FileIO::makePrivateFolder(own)) return {};
    const QByteArray native = QFile::encodeName(own);
    struct stat info {};
    // Ours but open to others (made by hand, say): closed again.
    if (::lstat(native.constData(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid())
        ::chmod(native.constData(), privateMode);
    return isPrivateFolder(native) ? own : QString();
}

QString SingleInstance::socketPath() {
    const QString folder = socketFolder();
    if (folder.isEmpty()) return {};
    // Named after the data folder, so that a run with a data folder of its own (a test) is an
    // instance of its own; short, because a socket path may hold only about a hundred bytes.
    const QByteArray name =
        QCryptographicHash::hash(DataFolder::path().toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    return folder + QStringLiteral("/kestavon-") + QString::fromLatin1(name);
}

namespace {

// Connects to the instance at `path` and sends `line`; the connected socket, or -1 when none
// listens there.
int call(const QString& path, const QByteArray& line) {
    const auto address = addressOf(path);
    if (!address) return -1;
    const int running = ownSocket(::socket(AF_UNIX, SOCK_STREAM, 0), true);
    if (running < 0) return -1;
    // An instance too busy to take the call (or to answer it) keeps it waiting this long at most.
    const timeval limit{answerMs / 1000, (answerMs % 1000) * 1000};
    ::setsockopt(running, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    ::setsockopt(running, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    if (::connect(running, reinterpret_cast<const sockaddr*>(&*address), sizeof *address) != 0) {
        ::close(running);
        return -1;
    }
    ::send(running, line.constData(), std::size_t(line.size()), sendFlags);
    return running;
}

} // namespace

bool SingleInstance::ask(const QString& path, Request request) {
    const int running = call(path, request == Request::quit ? "quit\n" : "show\n");
    if (running < 0) return false;
    ::close(running);
    return true;
}

SingleInstance::JumpAnswer SingleInstance::jump(const QString& path, const QString& keyID) {
    const int running = call(path, "jump " + keyID.toUtf8() + '\n');
    if (running < 0) return JumpAnswer::notRunning;
    // The stroke itself runs on after the answer: the answer says only whether it was handed over.
    QByteArray answer;
    char buffer[longestRequest];
    ssize_t n = 0;
    while (!answer.contains('\n') && answer.size() <= longestRequest &&
           ((n = ::recv(running, buffer, sizeof buffer, 0)) > 0 || (n < 0 && errno == EINTR)))
        if (n > 0) answer.append(buffer, n);
    ::close(running);
    const QByteArray said = answer.left(answer.indexOf('\n')).trimmed();
    if (said == "ran") return JumpAnswer::ran;
    if (said == "unbound") return JumpAnswer::unbound;
    return JumpAnswer::noAnswer;
}

std::unique_ptr<SingleInstance> SingleInstance::claim(const QString& path) {
    std::unique_ptr<SingleInstance> instance(new SingleInstance);
    if (path.isEmpty()) {
        qWarning("Kestavon: no private folder for the instance socket; a second start will not find this one");
        return instance;
    }
    if (ask(path, Request::show)) return nullptr;

    // Nobody answers: whatever is at the path is left from a process that ended.
    ::unlink(QFile::encodeName(path).constData());
    if (const auto whyNot = instance->listen(path))
        qWarning("Kestavon: cannot listen on %s (%s); a second start will not find this one",
                 qUtf8Printable(path), qUtf8Printable(*whyNot));
    return instance;
}

std::optional<QString> SingleInstance::listen(const QString& path) {
    const auto address = addressOf(path);
    if (!address) return QStringLiteral("the path is too long for a socket");
    const int server = ownSocket(::socket(AF_UNIX, SOCK_STREAM, 0), false);
    if (server < 0) return lastError();
    const QByteArray native = QFile::encodeName(path);
    if (::bind(server, reinterpret_cast<const sockaddr*>(&*address), sizeof *address) != 0 ||
        ::chmod(native.constData(), socketMode) != 0 || ::listen(server, waitingCallers) != 0) {
        const QString why = lastError();
        ::close(server);
        return why;
    }
    server_ = server;
    path_ = path;
    auto* calls = new QSocketNotifier(server_, QSocketNotifier::Read, this);
    connect(calls, &QSocketNotifier::activated, this, &SingleInstance::acceptCallers);
    return std::nullopt;
}

SingleInstance::~SingleInstance() {
    for (const int caller : callers_)
        ::close(caller);
    if (server_ < 0) return;
    ::close(server_);
    ::unlink(QFile::encodeName(path_).constData());
}

void SingleInstance::acceptCallers() {
    for (;;) {
        const int caller = ownSocket(::accept(server_, nullptr, nullptr), false);
        if (caller < 0) return;
        callers_.insert(caller);
        auto* notifier = new QSocketNotifier(caller, QSocketNotifier::Read, this);
        auto received = std::make_shared<QByteArray>();
        connect(notifier, &QSocketNotifier::activated, this,
                [this, caller, notifier, received] { readFrom(caller, *received, notifier); });
    }
}

void SingleInstance::readFrom(int caller, QByteArray& received, QSocketNotifier* notifier) {
    const auto whole = [&received] { return received.contains('\n') || received.size() > longestRequest; };
    bool hungUp = false;
    while (!whole()) {
        char buffer[longestRequest + 1];
        const ssize_t n = ::recv(caller, buffer, sizeof buffer, 0);
        if (n > 0) {
            received.append(buffer, n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            hungUp = n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK);
            break;
        }
    }
    if (!whole() && !hungUp) return;
    notifier->setEnabled(false);
    notifier->deleteLater();
    callers_.erase(caller);
    if (!whole()) {
        ::close(caller);
        return;
    }
    const qsizetype end = received.indexOf('\n');
    const QByteArray request = received.left(end < 0 ? longestRequest : end).trimmed();
    if (request.startsWith("jump ")) {
        const bool ran = jumpHandler_ && jumpHandler_(QString::fromUtf8(request.mid(5)));
        // A few bytes on a fresh connection: they fit in its buffer at once.
        const char* answer = ran ? "ran\n" : "unbound\n";
        ::send(caller, answer, std::strlen(answer), sendFlags);
    }
    ::close(caller);
    if (request.startsWith("jump ")) return;
    if (request == "quit")
        emit quitRequested();
    else
        emit showRequested();
}

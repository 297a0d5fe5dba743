#include "App/SingleInstance.h"

#include "Support/DataFolder.h"
#include "Support/FileIO.h"

#include <QCryptographicHash>
#include <QFile>
#include <QLocalSocket>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// How long a later start waits for the running instance to take its call.
constexpr int answerMs = 2000;
// A request is one short line; anything longer is not ours to read.
constexpr qint64 longestRequest = 16;

constexpr mode_t privateMode = 0700;

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

bool SingleInstance::ask(const QString& path, Request request) {
    QLocalSocket running;
    running.connectToServer(path);
    if (!running.waitForConnected(answerMs)) return false;
    running.write(request == Request::quit ? "quit\n" : "show\n");
    running.waitForBytesWritten(answerMs);
    running.disconnectFromServer();
    return true;
}

SingleInstance::JumpAnswer SingleInstance::jump(const QString& path, const QString& keyID) {
    QLocalSocket running;
    running.connectToServer(path);
    if (!running.waitForConnected(answerMs)) return JumpAnswer::notRunning;
    running.write("jump " + keyID.toUtf8() + '\n');
    // The stroke itself runs on after the answer: the answer says only whether it was handed over.
    while (!running.canReadLine() && running.waitForReadyRead(answerMs)) {
    }
    const QByteArray answer = running.readLine(longestRequest).trimmed();
    if (answer == "ran") return JumpAnswer::ran;
    if (answer == "unbound") return JumpAnswer::unbound;
    return JumpAnswer::noAnswer;
}

std::unique_ptr<SingleInstance> SingleInstance::claim(const QString& path) {
    std::unique_ptr<SingleInstance> instance(new SingleInstance);
    if (path.isEmpty()) {
        qWarning(
            "Kestavon: no private folder for the instance socket; a second start will not find this one");
        return instance;
    }
    if (ask(path, Request::show)) return nullptr;

    // Nobody answers: whatever is at the path is left from a process that ended.
    QLocalServer::removeServer(path);
    instance->server_.setSocketOptions(QLocalServer::UserAccessOption);
    if (!instance->server_.listen(path)) {
        qWarning("Kestavon: cannot listen on %s (%s); a second start will not find this one",
                 qUtf8Printable(path), qUtf8Printable(instance->server_.errorString()));
        return instance;
    }
    SingleInstance* self = instance.get();
    connect(&self->server_, &QLocalServer::newConnection, self, [self] {
        while (QLocalSocket* caller = self->server_.nextPendingConnection()) {
            connect(caller, &QLocalSocket::disconnected, caller, &QObject::deleteLater);
            connect(caller, &QLocalSocket::readyRead, self, [self, caller] {
                if (caller->canReadLine() || caller->bytesAvailable() > longestRequest) self->answer(caller);
            });
        }
    });
    return instance;
}

void SingleInstance::answer(QLocalSocket* caller) {
    const QByteArray request = caller->readLine(longestRequest + 1).trimmed();
    caller->disconnect(this);
    if (request.startsWith("jump ")) {
        const bool ran = jumpHandler_ && jumpHandler_(QString::fromUtf8(request.mid(5)));
        caller->write(ran ? "ran\n" : "unbound\n");
        // Waits for the answer to be written before closing.
        caller->disconnectFromServer();
        return;
    }
    caller->disconnectFromServer();
    if (request == "quit")
        emit quitRequested();
    else
        emit showRequested();
}

#include "App/SingleInstance.h"

#include "Support/DataFolder.h"

#include <QCryptographicHash>
#include <QLocalSocket>
#include <QStandardPaths>

namespace {

// How long a later start waits for the running instance to take its call.
constexpr int answerMs = 2000;
// A request is one short line; anything longer is not ours to read.
constexpr qint64 longestRequest = 16;

} // namespace

QString SingleInstance::socketPath() {
    // Named after the data folder, so that a run with a data folder of its own (a test) is an
    // instance of its own; short, because a socket path may hold only about a hundred bytes.
    const QByteArray folder =
        QCryptographicHash::hash(DataFolder::path().toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + QStringLiteral("/kestavon-") +
           QString::fromLatin1(folder);
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

std::unique_ptr<SingleInstance> SingleInstance::claim(const QString& path) {
    if (ask(path, Request::show)) return nullptr;

    std::unique_ptr<SingleInstance> instance(new SingleInstance);
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
    caller->disconnectFromServer();
    if (request == "quit")
        emit quitRequested();
    else
        emit showRequested();
}

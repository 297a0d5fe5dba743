#include "LoopbackFeedServer.h"

#include <QTcpSocket>
#include <QTimer>

LoopbackFeedServer::LoopbackFeedServer() {
    server_.listen(QHostAddress::LocalHost, 0);
    connect(&server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
        }
    });
}

QString LoopbackFeedServer::url(const QString& path) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path);
}

quint16 LoopbackFeedServer::closedPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}

void LoopbackFeedServer::serve(QTcpSocket* socket) {
    // Feed requests have no body: the request is complete with its blank line.
    QByteArray head = socket->property("head").toByteArray() + socket->readAll();
    socket->setProperty("head", head);
    if (!head.contains("\r\n\r\n") || socket->property("answered").toBool()) return;
    socket->setProperty("answered", true);

    const QList<QByteArray> requestLine = head.left(head.indexOf("\r\n")).split(' ');
    const QString path = requestLine.size() >= 2 ? QString::fromLatin1(requestLine[1]) : QString();
    requests_.push_back(path);
    const Answer answer = answers_.value(path, Answer{404, "Not Found", "no such feed"});

    QByteArray response = "HTTP/1.1 " + QByteArray::number(answer.status) + ' ' + answer.reason + "\r\n";
    response += "Content-Type: application/rss+xml; charset=utf-8\r\n";
    if (answer.declaresLength) response += "Content-Length: " + QByteArray::number(answer.body.size()) + "\r\n";
    response += answer.headers;
    response += "Connection: close\r\n\r\n";
    if (answer.trickleMs <= 0) {
        socket->write(response + answer.body);
        socket->disconnectFromHost();
        return;
    }
    socket->write(response);
    // Owned by the socket: the pacing ends when the client hangs up.
    auto* pace = new QTimer(socket);
    connect(pace, &QTimer::timeout, socket, [socket, pace, body = answer.body, sent = qsizetype(0)]() mutable {
        if (sent < body.size()) socket->write(body.mid(sent++, 1));
        if (sent == body.size()) {
            pace->stop();
            socket->disconnectFromHost();
        }
    });
    pace->start(answer.trickleMs);
}

#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QStringList>
#include <QTcpServer>

/// A tiny HTTP/1.1 server on 127.0.0.1 for feed tests: answers each GET from a table of paths,
/// 404 for the rest, one request per connection, at once or trickling. Runs on the test's event loop.
class LoopbackFeedServer final : public QObject {
    Q_OBJECT

public:
    struct Answer {
        int status = 200;
        QByteArray reason = "OK";
        QByteArray body;
        /// More header lines, each ending in CRLF.
        QByteArray headers = {};
        /// Whether the head gives the body's length; without it the body ends when the
        /// connection closes.
        bool declaresLength = true;
        /// When set, the body goes out one byte at this pace, in milliseconds.
        int trickleMs = 0;
    };

    LoopbackFeedServer();

    bool isListening() const { return server_.isListening(); }
    /// "http://127.0.0.1:<port><path>".
    QString url(const QString& path) const;
    void answer(const QString& path, Answer answer) { answers_.insert(path, std::move(answer)); }
    /// The paths asked for, in order.
    const QStringList& requests() const { return requests_; }

    /// A loopback port that nothing listens on (just freed), for refused connections.
    static quint16 closedPort();

private:
    void serve(QTcpSocket* socket);

    QTcpServer server_;
    QHash<QString, Answer> answers_;
    QStringList requests_;
};

#pragma once

#include <QByteArray>
#include <QHash>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <QThread>

#include <memory>

class QTcpServer;

namespace kv::test {

// A small HTTP server of the test's own, on 127.0.0.1 only, answering from
// its own thread so that the program's waits cannot starve it.
class LocalHttpServer {
public:
    struct Response {
        enum Kind {
            Normal, // the body with its length
            NoLength, // the body without a length; the connection closes at its end
            ShortBody, // announces the body's length, sends the first half, closes
            Slow, // sends the body slowly, a small piece every 50 ms
            NeverAnswer, // accepts the connection and says nothing
            Basic, // 401 with the realm until the expected credentials come
        };
        Response(int status_ = 200, QByteArray body_ = {}, Kind kind_ = Normal, QByteArray extraHeaders_ = {})
            : status(status_), body(std::move(body_)), kind(kind_), extraHeaders(std::move(extraHeaders_))
        {
        }

        int status = 200;
        QByteArray body;
        Kind kind = Normal;
        QByteArray extraHeaders; // "Name: value\r\n" lines
        QByteArray realm;
        QByteArray credentials; // "user:password" for Basic
    };

    LocalHttpServer();
    ~LocalHttpServer();

    void serve(const QString& path, const Response& response);
    QString url(const QString& path) const;
    int port() const { return m_port; }
    // Request lines and headers received, one entry per request.
    QStringList requests() const;

private:
    class Worker;
    QThread m_thread;
    Worker* m_worker = nullptr;
    int m_port = 0;
};

} // namespace kv::test

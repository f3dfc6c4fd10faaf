#include "updater/LocalHttpServer.h"

#include <QHostAddress>
#include <QMetaObject>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace kv::test {

class LocalHttpServer::Worker : public QObject {
public:
    QTcpServer* server = nullptr;
    mutable QMutex mutex;
    QHash<QString, Response> routes;
    QStringList requests;

    int start()
    {
        server = new QTcpServer(this);
        if (!server->listen(QHostAddress::LocalHost, 0))
            return 0;
        connect(server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server->nextPendingConnection())
                accept(socket);
        });
        return server->serverPort();
    }

    void accept(QTcpSocket* socket)
    {
        auto buffer = std::make_shared<QByteArray>();
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket, buffer] {
            *buffer += socket->readAll();
            const qsizetype end = buffer->indexOf("\r\n\r\n");
            if (end < 0)
                return;
            const QByteArray head = buffer->left(end);
            buffer->remove(0, end + 4);
            answer(socket, head);
        });
    }

    void answer(QTcpSocket* socket, const QByteArray& head)
    {
        const QList<QByteArray> lines = head.split('\n');
        const QString path = QString::fromLatin1(lines.value(0).split(' ').value(1)).section(QLatin1Char('?'), 0, 0);
        QByteArray authorization;
        for (const QByteArray& line : lines)
            if (line.toLower().startsWith("authorization:"))
                authorization = line.mid(line.indexOf(':') + 1).trimmed();
        Response r;
        {
            QMutexLocker lock(&mutex);
            requests << QString::fromLatin1(head);
            r = routes.value(path, Response{404, "not here"});
        }
        if (r.kind == Response::NeverAnswer)
            return;
        if (r.kind == Response::Basic) {
            if (authorization == "Basic " + r.credentials.toBase64()) {
                r.kind = Response::Normal;
            } else {
                r.status = 401;
                r.extraHeaders += "WWW-Authenticate: Basic realm=\"" + r.realm + "\"\r\n";
                r.body = "denied";
                r.kind = Response::Normal;
            }
        }
        QByteArray out = "HTTP/1.1 " + QByteArray::number(r.status) + " X\r\n" + r.extraHeaders
                         + "Content-Type: application/octet-stream\r\nConnection: close\r\n";
        if (r.kind != Response::NoLength)
            out += "Content-Length: " + QByteArray::number(r.body.size()) + "\r\n";
        out += "\r\n";
        socket->write(out);
        switch (r.kind) {
        case Response::ShortBody:
            socket->write(r.body.left(r.body.size() / 2));
            socket->flush();
            socket->disconnectFromHost();
            break;
        case Response::Slow: {
            auto rest = std::make_shared<QByteArray>(r.body);
            auto* timer = new QTimer(socket);
            connect(timer, &QTimer::timeout, socket, [socket, rest, timer] {
                socket->write(rest->left(64));
                rest->remove(0, 64);
                if (rest->isEmpty()) {
                    timer->stop();
                    socket->disconnectFromHost();
                }
            });
            timer->start(50);
            break;
        }
        default: socket->write(r.body); socket->disconnectFromHost();
        }
    }
};

LocalHttpServer::LocalHttpServer()
{
    m_worker = new Worker;
    m_worker->moveToThread(&m_thread);
    m_thread.start();
    QMetaObject::invokeMethod(
        m_worker, [this] { m_port = m_worker->start(); }, Qt::BlockingQueuedConnection);
}

LocalHttpServer::~LocalHttpServer()
{
    m_worker->deleteLater(); // deleted on its own thread as that thread finishes
    m_thread.quit();
    m_thread.wait();
}

void LocalHttpServer::serve(const QString& path, const Response& response)
{
    QMutexLocker lock(&m_worker->mutex);
    m_worker->routes.insert(path, response);
}

QString LocalHttpServer::url(const QString& path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(path);
}

QStringList LocalHttpServer::requests() const
{
    QMutexLocker lock(&m_worker->mutex);
    return m_worker->requests;
}

} // namespace kv::test

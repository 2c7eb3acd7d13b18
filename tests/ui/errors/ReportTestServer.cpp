#include "tests/ui/errors/ReportTestServer.h"

#include <QTcpSocket>

namespace picbasket::test {

ReportTestServer::ReportTestServer(int status) : status_(status) {
    server_.listen(QHostAddress::LocalHost);
    connect(&server_, &QTcpServer::newConnection, this, &ReportTestServer::accept);
}

QUrl ReportTestServer::base() const {
    return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(server_.serverPort()));
}

void ReportTestServer::accept() {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { answer(*socket); });
        connect(socket, &QTcpSocket::disconnected, socket, [this, socket] {
            buffers_.remove(socket);
            socket->deleteLater();
        });
    }
}

void ReportTestServer::answer(QTcpSocket& socket) {
    QByteArray& buffer = buffers_[&socket];
    buffer += socket.readAll();
    if (!buffer.contains("\r\n\r\n"))
        return;
    target_ = buffer.left(buffer.indexOf("\r\n")).split(' ').value(1);
    ++requests_;
    if (status_ == 0)
        return;
    const QByteArray body = "ok";
    socket.write("HTTP/1.1 " + QByteArray::number(status_) + " Status\r\nContent-Length: " +
                 QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
    socket.disconnectFromHost();
}

quint16 refusedPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}

std::vector<std::pair<QString, QString>> decodedQuery(const QByteArray& target) {
    std::vector<std::pair<QString, QString>> pairs;
    const qsizetype mark = target.indexOf('?');
    if (mark < 0)
        return pairs;
    for (const QByteArray& item : target.mid(mark + 1).split('&')) {
        const qsizetype eq = item.indexOf('=');
        pairs.emplace_back(QString::fromLatin1(item.left(eq)),
                           QUrl::fromPercentEncoding(item.mid(eq + 1)));
    }
    return pairs;
}

} // namespace picbasket::test

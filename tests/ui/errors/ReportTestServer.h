#pragma once
#include <QByteArray>
#include <QHash>
#include <QTcpServer>
#include <QUrl>
#include <utility>
#include <vector>

class QTcpSocket;

namespace picbasket::test {

// A tiny HTTP server on the loopback address that answers every request with one
// fixed status (0: never answers) and keeps the request target it received. It runs in the test's
// own thread: the sender's local event loop serves it.
class ReportTestServer : public QObject {
public:
    explicit ReportTestServer(int status = 200);
    QUrl base() const;
    // The request target of the last request ("/email/reportError.asp?...").
    const QByteArray& target() const { return target_; }
    int requests() const { return requests_; }

private:
    void accept();
    void answer(QTcpSocket& socket);

    int status_;
    QByteArray target_;
    int requests_ = 0;
    QHash<QTcpSocket*, QByteArray> buffers_;
    // Last, so its sockets go (and report their disconnection) while the rest still lives.
    QTcpServer server_;
};

// A loopback port on which nothing listens.
quint16 refusedPort();

// The query of a raw request target split into keys and percent-decoded values,
// in the order sent.
std::vector<std::pair<QString, QString>> decodedQuery(const QByteArray& target);

} // namespace picbasket::test

#include "desktop/ui/RaiseChannel.h"

#include <QDeadlineTimer>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>

#include "desktop/RaiseSocket.h"

namespace korvana {

namespace {

QString SocketName(const std::filesystem::path& socket) {
    return QString::fromStdString(socket.string());
}

constexpr unsigned long kConnectRetryMs = 50;

}  // namespace

RaiseServer::RaiseServer(const std::filesystem::path& socket, std::function<void()> raise,
                         QObject* parent)
    : QObject(parent), raise_(std::move(raise)) {
    // We hold the one-copy lock, so a socket left there belongs to a copy
    // that has ended.
    QLocalServer::removeServer(SocketName(socket));
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    if (server_.listen(SocketName(socket))) {
        connect(&server_, &QLocalServer::newConnection, this, &RaiseServer::Accept);
    }
}

void RaiseServer::Accept() {
    while (QLocalSocket* client = server_.nextPendingConnection()) {
        connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        QTimer::singleShot(kRaiseRequestTimeoutMs, client, [client] { client->abort(); });
        connect(client, &QLocalSocket::readyRead, this, [this, client] {
            const QByteArray received =
                client->peek(static_cast<qint64>(kMaxRaiseRequestBytes) + 1);
            const RaiseRequestState state =
                ReadRaiseRequest(std::string_view(received.constData(), received.size()));
            if (state == RaiseRequestState::Incomplete) {
                return;
            }
            client->readAll();
            if (state == RaiseRequestState::Request) {
                raise_();
                client->write(kRaiseAnswer.data(), static_cast<qint64>(kRaiseAnswer.size()));
                client->flush();
            }
            client->disconnectFromServer();
        });
    }
}

// The first copy takes its lock before it listens: a copy started just
// after it may find no socket yet, and tries again until the time is up.
namespace {

bool ConnectWithin(QLocalSocket& client, const std::filesystem::path& socket,
                   const QDeadlineTimer& deadline) {
    for (;;) {
        client.connectToServer(SocketName(socket));
        if (client.waitForConnected(static_cast<int>(deadline.remainingTime()))) {
            return true;
        }
        if (deadline.hasExpired()) {
            return false;
        }
        QThread::msleep(kConnectRetryMs);
    }
}

}  // namespace

bool AskToRaise(const std::filesystem::path& socket, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    QLocalSocket client;
    if (!ConnectWithin(client, socket, deadline)) {
        return false;
    }
    client.write(kRaiseRequest.data(), static_cast<qint64>(kRaiseRequest.size()));
    if (!client.waitForBytesWritten(timeoutMs)) {
        return false;
    }
    QByteArray answer;
    while (answer.size() < static_cast<qsizetype>(kRaiseAnswer.size()) &&
           client.waitForReadyRead(timeoutMs)) {
        answer += client.read(static_cast<qint64>(kRaiseAnswer.size()) - answer.size());
    }
    return std::string_view(answer.constData(), answer.size()) == kRaiseAnswer;
}

}  // namespace korvana

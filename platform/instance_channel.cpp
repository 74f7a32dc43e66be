#include "platform/instance_channel.h"
#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

namespace {
const QByteArray kActivate = "activate\n";

QString userName()
{
    QString u = qEnvironmentVariable("USER");
    if (u.isEmpty()) u = qEnvironmentVariable("USERNAME");
    if (u.isEmpty()) u = QDir::homePath();
    return u;
}
}  // namespace

InstanceChannel::InstanceChannel(const QString& title, QObject* parent) : QObject(parent)
{
    // One channel per title and user: copies of other users do not see each other.
    QByteArray hash = QCryptographicHash::hash(userName().toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
    name_ = title + QLatin1Char('-') + QString::fromLatin1(hash);
}

InstanceChannel::~InstanceChannel() = default;

bool InstanceChannel::signalRunningCopy(int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(timeoutMs)) return false;
    socket.write(kActivate);
    bool sent = socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    return sent;
}

bool InstanceChannel::listen()
{
    if (server_) return true;
    {
        // A live copy holds the name: leave it to that copy. Otherwise a socket file left by a
        // copy that crashed is taken over.
        QLocalSocket probe;
        probe.connectToServer(name_);
        if (probe.waitForConnected(300)) return false;
    }
    QLocalServer::removeServer(name_);
    auto* server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(name_)) {
        delete server;
        return false;
    }
    server_ = server;
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* s = server_->nextPendingConnection()) {
            auto read = [this, s] {
                if (s->readAll().contains(kActivate.trimmed())) emit activationRequested();
            };
            connect(s, &QLocalSocket::readyRead, this, read);
            connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
            if (s->bytesAvailable() > 0) read();  // the request came with the connection
        }
    });
    return true;
}

bool InstanceChannel::isListening() const
{
    return server_ && server_->isListening();
}

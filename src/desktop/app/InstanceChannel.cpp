#include "desktop/app/InstanceChannel.h"

#include <sys/socket.h>
#include <unistd.h>
#include <QCryptographicHash>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

namespace {

constexpr int kTimeoutMs = 3000;
// A path longer than this is no request of ours; the line is not read further.
constexpr qint64 kMaxRequest = qint64{64} * 1024;
const QByteArray kAccepted = "ok\n";

// The channel's name lies in the shared temporary folder and can be worked out by anyone,
// so another user may have taken it first: the path of a file goes only to a program of
// this same user.
bool RunsAsThisUser(qintptr peer) {
    ucred credentials{};
    socklen_t size = sizeof credentials;
    return ::getsockopt(static_cast<int>(peer), SOL_SOCKET, SO_PEERCRED, &credentials, &size) ==
               0 &&
           credentials.uid == ::getuid();
}

}  // namespace

CInstanceChannel::CInstanceChannel(QObject* parent)
    : QObject(parent), m_server(new QLocalServer(this)) {
    connect(m_server, &QLocalServer::newConnection, this, &CInstanceChannel::AcceptConnections);
}

CInstanceChannel::~CInstanceChannel() = default;

QString CInstanceChannel::DefaultName(const QString& settingsPath) {
    QString overridden = qEnvironmentVariable("VELMORA_INSTANCE");
    if (!overridden.isEmpty()) {
        return overridden;
    }
    // A start on another display, or with other settings, is no request for this window.
    // Hashed, since a local socket's path has little room.
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const QByteArray& part : {qgetenv("DISPLAY"), qgetenv("WAYLAND_DISPLAY"),
                                   QFileInfo(settingsPath).absoluteFilePath().toUtf8()}) {
        hash.addData(part);
        hash.addData(QByteArrayView("\n"));
    }
    return QStringLiteral("velmora-%1-%2")
        .arg(getuid())
        .arg(QString::fromLatin1(hash.result().toHex().left(16)));
}

bool CInstanceChannel::SendToRunning(const QString& name, const QString& file) {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(kTimeoutMs) || !RunsAsThisUser(socket.socketDescriptor())) {
        return false;
    }
    socket.write(QFileInfo(file).absoluteFilePath().toUtf8() + '\n');
    if (!socket.waitForBytesWritten(kTimeoutMs)) {
        return false;
    }
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(kTimeoutMs)) {
            return false;
        }
    }
    return socket.readLine() == kAccepted;
}

bool CInstanceChannel::Listen(const QString& name) {
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (m_server->listen(name)) {
        return true;
    }
    // Nobody answered on the name (the check came first), so it was left by a program
    // that ended without closing it.
    QLocalServer::removeServer(name);
    return m_server->listen(name);
}

void CInstanceChannel::AcceptConnections() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) {
                if (socket->bytesAvailable() > kMaxRequest) {
                    socket->abort();
                }
                return;
            }
            const QString path = QString::fromUtf8(socket->readLine().trimmed());
            socket->write(kAccepted);
            socket->flush();
            socket->disconnectFromServer();
            if (!path.isEmpty()) {
                emit OpenRequested(path);
            }
        });
    }
}

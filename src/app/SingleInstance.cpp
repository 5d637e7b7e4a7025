#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QThread>

namespace tevuna {

namespace {

constexpr const char *kActivate = "activate\n";
// How long a second start keeps knocking: the first may still be starting up.
constexpr int kAnswerTimeoutMs = 3000;
constexpr int kRetryPauseMs = 100;

QString canonical(const QString &folder)
{
    const QString path = QFileInfo(folder).canonicalFilePath();
    return path.isEmpty() ? QDir::cleanPath(QDir(folder).absolutePath()) : path;
}

} // namespace

SingleInstance::SingleInstance(const QString &dataFolder, QObject *parent)
    : QObject(parent), m_folder(dataFolder),
      m_lock(QDir(dataFolder).filePath(QStringLiteral("tevuna.lock")))
{
    // Never stale by age: only a lock whose process is gone is taken over.
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance()
{
    m_server.close();
    m_lock.unlock();
}

bool SingleInstance::acquire()
{
    QDir().mkpath(m_folder);
    // The socket's name is the folder's, short enough for every platform's limit.
    m_serverName = QStringLiteral("tevuna-") +
                   QString::fromLatin1(QCryptographicHash::hash(canonical(m_folder).toUtf8(),
                                                                QCryptographicHash::Sha1)
                                           .toHex()
                                           .left(16));
    if (!m_lock.tryLock(0))
        return false;
    // A socket file left by a crash would make listening fail; the lock says it is ours now.
    QLocalServer::removeServer(m_serverName);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, &SingleInstance::serve);
    // Without the socket a second start cannot reach us, but the lock still keeps it out.
    m_server.listen(m_serverName);
    return true;
}

void SingleInstance::serve()
{
    while (QLocalSocket *socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            while (socket->canReadLine()) {
                if (socket->readLine() == kActivate)
                    emit activationRequested();
            }
        });
    }
}

bool SingleInstance::activateRunning()
{
    const QDeadlineTimer deadline(kAnswerTimeoutMs);
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(m_serverName);
        if (socket.waitForConnected(int(deadline.remainingTime()))) {
            socket.write(kActivate);
            const bool sent = socket.waitForBytesWritten(int(deadline.remainingTime()));
            socket.disconnectFromServer();
            if (socket.state() != QLocalSocket::UnconnectedState)
                socket.waitForDisconnected(int(deadline.remainingTime()));
            if (sent)
                return true;
        }
        QThread::msleep(kRetryPauseMs);
    }
    return false;
}

} // namespace tevuna

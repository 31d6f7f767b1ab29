#include "singleinstance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalSocket>
#include <QRegularExpression>
#include <QThread>

// Quiet unless asked for (QT_LOGGING_RULES="kavo.instance.info=true").
Q_LOGGING_CATEGORY(lcInstance, "kavo.instance", QtWarningMsg)

namespace platform {
namespace {

const QByteArray activateRequest = "activate";

QString userName()
{
    QString name = qEnvironmentVariable("USER");
    if (name.isEmpty())
        name = qEnvironmentVariable("USERNAME");
    if (name.isEmpty())
        name = QDir::home().dirName();
    // The name becomes part of a file name.
    return name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_.-]")), QStringLiteral("_"));
}

} // namespace

QString instanceServerName(const QString &mutexName)
{
    return mutexName + QLatin1Char('-') + userName();
}

SingleInstance::SingleInstance(const QString &mutexName, QObject *parent)
    : QObject(parent),
      m_serverName(instanceServerName(mutexName)),
      m_lock(QDir::tempPath() + QLatin1Char('/') + m_serverName + QStringLiteral(".lock"))
{
    // Only a dead owner frees the name, however long the tool has been running.
    m_lock.setStaleLockTime(0);
    connect(&m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
}

bool SingleInstance::claim()
{
    if (m_lock.tryLock(0)) {
        listen();
        return true;
    }
    if (m_lock.error() != QLockFile::LockFailedError) {
        // The lock cannot be made at all (no writable temporary folder): better a tool without
        // the guard than no tool.
        qCWarning(lcInstance) << "cannot take the single-instance lock; starting unguarded";
        return true;
    }
    askRunningInstanceToComeForward();
    return false;
}

void SingleInstance::listen()
{
    // A socket left behind by an instance that died answers nobody; the name is ours now.
    QLocalServer::removeServer(m_serverName);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    if (m_server.listen(m_serverName))
        qCInfo(lcInstance) << "listening as" << m_server.fullServerName();
    else
        qCWarning(lcInstance) << "cannot listen as" << m_serverName << ":" << m_server.errorString();
}

void SingleInstance::acceptConnections()
{
    while (QLocalSocket *socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            while (socket->canReadLine()) {
                if (socket->readLine().trimmed() == activateRequest) {
                    qCInfo(lcInstance) << "activation requested";
                    emit activationRequested();
                }
            }
        });
    }
}

void SingleInstance::askRunningInstanceToComeForward()
{
    // The first instance may have taken the lock a moment ago and not be listening yet.
    QLocalSocket socket;
    const QDeadlineTimer deadline(3000);
    for (;;) {
        socket.connectToServer(m_serverName);
        if (socket.waitForConnected(500))
            break;
        if (deadline.hasExpired()) {
            qCInfo(lcInstance) << "the running instance does not answer";
            return;
        }
        QThread::msleep(100);
    }
    socket.write(activateRequest + '\n');
    socket.waitForBytesWritten(1000);
    socket.disconnectFromServer();
    qCInfo(lcInstance) << "asked the running instance to come forward";
}

} // namespace platform

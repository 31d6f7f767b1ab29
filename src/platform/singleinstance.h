#pragma once
// Stand-in for the tool's named mutex and the search for a running instance's window.
// The first instance takes a lock file for its whole life (a lock whose owner has died counts
// as free) and listens on a local socket of the same name; a later instance finds the lock
// taken, asks the first over the socket to come forward, and ends.
#include <QLocalServer>
#include <QLockFile>
#include <QLoggingCategory>
#include <QObject>

Q_DECLARE_LOGGING_CATEGORY(lcInstance)

namespace platform {

// The socket and lock-file name for a mutex name: "<name>-<user>", so that users never meet.
QString instanceServerName(const QString &mutexName);

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString &mutexName, QObject *parent = nullptr);

    // True when this is the first instance: it now owns the name and listens. False when another
    // instance runs: it has been asked to come forward, and this one should end.
    bool claim();

signals:
    // A later instance asked this one to come forward.
    void activationRequested();

private:
    void listen();
    void acceptConnections();
    void askRunningInstanceToComeForward();

    QString m_serverName;
    QLockFile m_lock;
    QLocalServer m_server;
};

} // namespace platform

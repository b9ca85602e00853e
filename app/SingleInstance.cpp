#include "SingleInstance.h"

#include "LockFiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QThread>

namespace {
constexpr const char* kActivate = "activate\n";
constexpr unsigned long kOwnerGraceMs = 250;
} // namespace

SingleInstance::SingleInstance(const QString& storeFile, QObject* parent)
    : QObject(parent), m_storeFile(QFileInfo(storeFile).absoluteFilePath()),
      // QSettings locks "<file>.lock" while it writes; the instance lock needs a name of its own.
      m_lockFileName(m_storeFile + QStringLiteral(".instance.lock")),
      m_ownerGrace([] { QThread::msleep(kOwnerGraceMs); }) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::ServerNameFor(const QString& storeFile) {
    const QByteArray hash =
        QCryptographicHash::hash(QFileInfo(storeFile).absoluteFilePath().toUtf8(), QCryptographicHash::Sha1).toHex();
    return QStringLiteral("nudgepost-") + QString::fromLatin1(hash.left(24));
}

SingleInstance::Role SingleInstance::Claim() {
    if (!QDir().mkpath(QFileInfo(m_lockFileName).absolutePath()))
        return Role::Unguarded;
    m_lock = std::make_unique<QLockFile>(m_lockFileName);
    // The lock is held for the whole run, however long; only a lock whose owner has died is stale.
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0) && m_lock->error() == QLockFile::LockFailedError &&
        !LockFiles::Ownerless(m_lockFileName).isEmpty()) {
        // A lock that names nobody never goes stale, so a copy that died while creating it would keep the
        // program from ever starting again. A copy starting this very moment writes its owner within a few
        // microseconds; what still names nobody after a grace period was left by a copy that died.
        const QStringList before = LockFiles::Ownerless(m_lockFileName);
        m_ownerGrace();
        for (const QString& link : LockFiles::Ownerless(m_lockFileName)) {
            if (before.contains(link))
                QFile::remove(link);
        }
        m_lock->tryLock(0);
    }
    if (!m_lock->isLocked()) {
        const bool held = m_lock->error() == QLockFile::LockFailedError;
        m_lock.reset();
        return held ? Role::Secondary : Role::Unguarded;
    }
    const QString name = ServerNameFor(m_storeFile);
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // A server left behind by a copy that crashed would block the name; we hold the lock, so it is not in use.
    QLocalServer::removeServer(name);
    if (m_server->listen(name)) {
        connect(m_server.get(), &QLocalServer::newConnection, this, [this] {
            while (QLocalSocket* socket = m_server->nextPendingConnection()) {
                connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
                connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                    if (socket->readAll().contains("activate"))
                        emit activationRequested();
                });
            }
        });
    }
    return Role::Primary;
}

bool SingleInstance::NotifyPrimary(int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(ServerNameFor(m_storeFile));
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(kActivate);
    const bool written = socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    return written;
}

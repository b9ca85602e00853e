#include "SingleInstance.h"

#include "LockFiles.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include "ApplicationBus.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>

namespace {
constexpr unsigned long kOwnerGraceMs = 250;

QByteArray PathHash(const QString& guardPath) {
    const QString path = QFileInfo(guardPath).absoluteFilePath();
    return QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha1).toHex();
}
} // namespace

SingleInstance::SingleInstance(const QString& guardPath, QObject* parent)
    : QObject(parent), m_guardPath(QFileInfo(guardPath).absoluteFilePath()),
      // QSettings locks "<file>.lock" while it writes; the instance lock needs a name of its own.
      m_lockFileName(m_guardPath + QStringLiteral(".instance.lock")),
      m_ownerGrace([] { QThread::msleep(kOwnerGraceMs); }) {}

SingleInstance::~SingleInstance() {
    if (!m_busName.isEmpty()) {
        QDBusConnection bus = QDBusConnection::sessionBus();
        bus.unregisterObject(ApplicationBus::ObjectPathFor(m_busName));
        bus.unregisterService(m_busName);
    }
}

QString SingleInstance::BusNameFor(const QString& guardPath) {
    // A path may hold any character and be of any length; its hash fits every rule of bus names.
    return QStringLiteral("com.quillmoor.Nudgepost.Store_") + QString::fromLatin1(PathHash(guardPath));
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
    OfferActivation();
    return Role::Primary;
}

void SingleInstance::OfferActivation() {
    // Without a session bus the copy runs all the same; a later copy is still kept out by the lock.
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    const QString name = BusNameFor(m_guardPath);
    auto object = std::make_unique<ApplicationBus>();
    connect(object.get(), &ApplicationBus::activated, this, &SingleInstance::activationRequested);
    if (!bus.registerObject(ApplicationBus::ObjectPathFor(name), object.get(), QDBusConnection::ExportScriptableSlots))
        return;
    // The name of a copy that crashed went with its connection, so it is free unless a copy still runs, which
    // the lock rules out.
    if (!bus.registerService(name)) {
        bus.unregisterObject(ApplicationBus::ObjectPathFor(name));
        return;
    }
    m_bus = std::move(object);
    m_busName = name;
}

bool SingleInstance::NotifyPrimary(int timeoutMs) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    const QString name = BusNameFor(m_guardPath);
    QDBusMessage call = QDBusMessage::createMethodCall(name, ApplicationBus::ObjectPathFor(name),
                                                      QString::fromLatin1(ApplicationBus::kInterface),
                                                      QStringLiteral("Activate"));
    call << QVariantMap();
    // The first copy takes the lock a moment before its name appears on the bus; a copy started in that moment
    // asks again until the name is there or the time is up.
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        const int left = timeoutMs - static_cast<int>(waited.elapsed());
        if (left <= 0)
            return false;
        const QDBusMessage reply = bus.call(call, QDBus::Block, left);
        if (reply.type() == QDBusMessage::ReplyMessage)
            return true;
        const QString error = reply.errorName();
        if (error != QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown") &&
            error != QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner"))
            return false;
        QThread::msleep(20);
    }
}

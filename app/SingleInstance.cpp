#include "SingleInstance.h"

#include "LockFiles.h"
#include "OwnerOnlyFiles.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <QThread>

#include "ApplicationBus.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>

namespace {
constexpr unsigned long kOwnerGraceMs = 250;

QByteArray PathHash(const QString& guardPath) {
    QString path = QFileInfo(guardPath).absoluteFilePath();
    return QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha1).toHex();
}

bool NamesThisProcess(const QLockFile& lock) {
    qint64 pid = 0;
    QString host;
    return lock.getLockInfo(&pid, &host, nullptr) && pid == QCoreApplication::applicationPid() &&
           (host.isEmpty() || host == QSysInfo::machineHostName());
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

void SingleInstance::RequestActivation(const QString& startupId) {
    // The starts a launcher announced must each be told complete, but a flood of ids must not become a flood of
    // messages to every client of the display: a few of the newest are kept, the rest time out.
    constexpr qsizetype kMostStartupIds = 8;
    if (!startupId.isEmpty() && !m_startupIds.contains(startupId)) {
        if (m_startupIds.size() == kMostStartupIds)
            m_startupIds.removeFirst();
        m_startupIds.append(startupId);
    }
    // Each activation restores and raises a window, work for the window manager; a flood of calls would keep it
    // busy for minutes and, by keeping the window restored, pause reminders. One per turn of the loop is enough.
    if (m_activationQueued)
        return;
    m_activationQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_activationQueued = false;
            emit activationRequested(std::exchange(m_startupIds, QStringList()));
        },
        Qt::QueuedConnection);
}

SingleInstance::Role SingleInstance::Claim() {
    // The lock, and the folders of the store that are made for it, are the user's alone.
    OwnerOnlyFiles privateFiles;
    const LockState lock = TakeLock();
    if (lock == LockState::Held)
        return Role::Secondary;
    switch (OfferActivation()) {
    case BusName::TakenByOther:
        m_lock.reset();
        return Role::Secondary;
    case BusName::Ours:
        return Role::Primary;
    case BusName::None:
        break;
    }
    // Without a session bus the lock alone guards; where it cannot be written either, nothing does.
    return lock == LockState::Taken ? Role::Primary : Role::Unguarded;
}

SingleInstance::LockState SingleInstance::TakeLock() {
    if (!QDir().mkpath(QFileInfo(m_lockFileName).absolutePath()))
        return LockState::Unwritable;
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
    if (!m_lock->isLocked() && m_lock->error() == QLockFile::LockFailedError && NamesThisProcess(*m_lock) &&
        LockFiles::RemoveUnheld(m_lockFileName)) {
        // QLockFile takes a lock naming a live process for held, and this process is alive. But in a PID namespace
        // (a sandbox, a container) a new copy gets the number of the copy that was killed, so such a lock is left
        // behind and held by nobody. A copy in another namespace that holds it is told by the flock, or else by
        // its name on the bus (see Claim).
        m_lock->tryLock(0);
    }
    if (m_lock->isLocked())
        return LockState::Taken;
    const bool held = m_lock->error() == QLockFile::LockFailedError;
    m_lock.reset();
    return held ? LockState::Held : LockState::Unwritable;
}

SingleInstance::BusName SingleInstance::OfferActivation() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return BusName::None;
    const QString name = BusNameFor(m_guardPath);
    // A name goes with the connection of the copy that held it, so a name that is taken belongs to a copy that
    // runs: one whose lock could not be written, or one in another PID namespace whose lock was taken for left
    // behind.
    if (bus.interface()->isServiceRegistered(name))
        return BusName::TakenByOther;
    auto object = std::make_unique<ApplicationBus>();
    connect(object.get(), &ApplicationBus::activated, this, &SingleInstance::RequestActivation);
    if (!bus.registerObject(ApplicationBus::ObjectPathFor(name), object.get(), QDBusConnection::ExportScriptableSlots))
        return BusName::None;
    if (!bus.registerService(name)) {
        bus.unregisterObject(ApplicationBus::ObjectPathFor(name));
        // A copy starting at the same moment may have taken it since.
        return bus.interface()->isServiceRegistered(name) ? BusName::TakenByOther : BusName::None;
    }
    m_bus = std::move(object);
    m_busName = name;
    return BusName::Ours;
}

bool SingleInstance::NotifyPrimary(const QString& startupId, int timeoutMs) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    const QString name = BusNameFor(m_guardPath);
    QDBusMessage call = QDBusMessage::createMethodCall(name, ApplicationBus::ObjectPathFor(name),
                                                      QString::fromLatin1(ApplicationBus::kInterface),
                                                      QStringLiteral("Activate"));
    QVariantMap platformData;
    if (!startupId.isEmpty())
        platformData.insert(QString::fromLatin1(ApplicationBus::kStartupIdKey), startupId);
    call << platformData;
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

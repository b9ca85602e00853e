#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class ApplicationBus;

// Keeps one copy of the program per settings store: two copies would overwrite each other's saves. The first copy
// holds a lock beside the store. It also offers a way to be asked to come to the front: a name on the session bus,
// named after the store's path. A later copy finds the lock or the name
// taken, asks the first to come to the front and ends. The name guards on its own where the lock cannot be written
// (a full disk, a read-only or foreign folder, an over-long path), and it outweighs a lock this copy could take:
// the copy that holds it runs. Only without either does a copy run unguarded.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Role { Primary, Secondary, Unguarded };
    Q_ENUM(Role)

    // guardPath names the lock ("<guardPath>.instance.lock") and the channel to the first copy: the program gives
    // its store's file.
    explicit SingleInstance(const QString& guardPath, QObject* parent = nullptr);
    ~SingleInstance() override;

    Role Claim();
    // From a secondary copy: asks the primary to show itself, handing over the launcher's start-up id if there is
    // one. True when it was reached.
    bool NotifyPrimary(const QString& startupId = {}, int timeoutMs = 2000);

    // How a claim that finds a lock naming nobody gives a copy that is creating it the time to name itself.
    void SetOwnerGrace(std::function<void()> wait) { m_ownerGrace = std::move(wait); }

    // A well-known name on the session bus: only letters, digits, "_" and dots, no element starting with a digit.
    static QString BusNameFor(const QString& guardPath);
    QString LockFileName() const { return m_lockFileName; }

signals:
    // Another copy asked this one to come to the front; however many asked since, at most once per turn of the
    // event loop. startupIds: the launchers' start-up ids they handed over, the newest last.
    void activationRequested(const QStringList& startupIds);

private:
    void RequestActivation(const QString& startupId);

    enum class LockState { Taken, Held, Unwritable };
    LockState TakeLock();
    enum class BusName { Ours, TakenByOther, None };
    BusName OfferActivation();

    QString m_guardPath;
    QString m_lockFileName;
    std::unique_ptr<QLockFile> m_lock;
    std::unique_ptr<ApplicationBus> m_bus;
    QString m_busName;
    std::function<void()> m_ownerGrace;
    bool m_activationQueued = false;
    QStringList m_startupIds;
};

#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class ApplicationBus;

// Keeps one copy of the program per settings store: two copies would overwrite each other's saves. The first copy
// holds a lock beside the store, and the lock alone decides who is first. It also offers a way to be asked to
// come to the front: a name on the session bus, named after the store's path. A later copy finds the lock taken,
// asks the first to come to the front and ends.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Role { Primary, Secondary, Unguarded };
    Q_ENUM(Role)

    // guardPath, the store's file, names the lock ("<guardPath>.instance.lock") and the channel to the first copy.
    explicit SingleInstance(const QString& guardPath, QObject* parent = nullptr);
    ~SingleInstance() override;

    Role Claim();
    // From a secondary copy: asks the primary to show itself. True when it was reached.
    bool NotifyPrimary(int timeoutMs = 2000);

    // How a claim that finds a lock naming nobody gives a copy that is creating it the time to name itself.
    void SetOwnerGrace(std::function<void()> wait) { m_ownerGrace = std::move(wait); }

    // A well-known name on the session bus: only letters, digits, "_" and dots, no element starting with a digit.
    static QString BusNameFor(const QString& guardPath);
    QString LockFileName() const { return m_lockFileName; }

signals:
    void activationRequested();

private:
    void OfferActivation();

    QString m_guardPath;
    QString m_lockFileName;
    std::unique_ptr<QLockFile> m_lock;
    std::unique_ptr<ApplicationBus> m_bus;
    QString m_busName;
    std::function<void()> m_ownerGrace;
};

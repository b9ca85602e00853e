#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

// Keeps one copy of the program per settings store: two copies would overwrite each other's saves. The first copy
// holds a lock beside the store and listens on a local socket named after the store's path; a later copy finds
// the lock taken, asks the first to come to the front and ends.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Role { Primary, Secondary, Unguarded };
    Q_ENUM(Role)

    explicit SingleInstance(const QString& storeFile, QObject* parent = nullptr);
    ~SingleInstance() override;

    Role Claim();
    // From a secondary copy: asks the primary to show itself. True when it was reached.
    bool NotifyPrimary(int timeoutMs = 2000);

    // How a claim that finds a lock naming nobody gives a copy that is creating it the time to name itself.
    void SetOwnerGrace(std::function<void()> wait) { m_ownerGrace = std::move(wait); }

    static QString ServerNameFor(const QString& storeFile);
    QString LockFileName() const { return m_lockFileName; }

signals:
    void activationRequested();

private:
    QString m_storeFile;
    QString m_lockFileName;
    std::unique_ptr<QLockFile> m_lock;
    std::unique_ptr<QLocalServer> m_server;
    std::function<void()> m_ownerGrace;
};

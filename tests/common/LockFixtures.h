#pragma once

// Lock files as QLockFile writes them and as processes that die leave them.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>

#include <sys/wait.h>
#include <unistd.h>

namespace LockFixtures {
// What QLockFile writes into a lock it holds, naming the given process of this machine as owner.
inline QByteArray LockOwnedBy(qint64 pid) {
    return QByteArray::number(pid) + '\n' + QCoreApplication::applicationName().toUtf8() + '\n' +
           QSysInfo::machineHostName().toUtf8() + '\n' + QSysInfo::machineUniqueId() + '\n' + QSysInfo::bootUniqueId() +
           '\n';
}

// A process id that nobody holds any more: a child that has ended and been reaped.
inline qint64 DeadPid() {
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    int status = 0;
    waitpid(child, &status, 0);
    return child;
}

inline bool WriteLock(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}
} // namespace LockFixtures

#pragma once

#include <QString>
#include <QStringList>

// QLockFile takes over a lock whose owner has died only under a second lock, "<lock>.rmlock", guarded the same way
// by "<lock>.rmlock.rmlock", and so on. A process that dies between creating any of these and writing its owner
// into it leaves a lock that names nobody, which QLockFile treats as held until its stale time runs out: half a
// minute by default, never for a lock with no stale time.
namespace LockFiles {
// The locks on the take-over chain of lockName that exist and name no owner.
QStringList Ownerless(const QString& lockName);
// Removes the lock when no process holds it: the owner of a QLockFile keeps an exclusive flock on it for as long as
// it holds it, wherever it runs on this machine, in a PID namespace of its own too. True when it was removed; never
// on a system without flock.
bool RemoveUnheld(const QString& lockName);
// Removes lockName and every lock on its take-over chain, whatever they name, and returns how many there were;
// only safe while nobody else can be taking the lock.
int RemoveChain(const QString& lockName);
} // namespace LockFiles

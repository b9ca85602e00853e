#pragma once

#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

// A person's reminders are private, and so is the lock that names the copy using them. While one of these is alive,
// every file and folder the process creates is its owner's alone (0600, 0700), whoever creates it: our code or
// Qt's, QSettings with its folders, temporary copy and lock, QLockFile, QFile::copy. What exists keeps its mode.
// The mask is the process's, so a file another thread creates meanwhile is private too: stricter, never looser.
class OwnerOnlyFiles {
public:
#ifdef Q_OS_UNIX
    OwnerOnlyFiles() : m_previous(::umask(077)) { ::umask(m_previous | 077); }
    ~OwnerOnlyFiles() { ::umask(m_previous); }
#else
    OwnerOnlyFiles() = default;
#endif
    OwnerOnlyFiles(const OwnerOnlyFiles&) = delete;
    OwnerOnlyFiles& operator=(const OwnerOnlyFiles&) = delete;

private:
#ifdef Q_OS_UNIX
    mode_t m_previous;
#endif
};

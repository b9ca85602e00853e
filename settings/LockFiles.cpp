#include "LockFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
// A process killed while taking locks over leaves chains a few links long; eight covers far more than that.
constexpr int kChainLength = 8;
} // namespace

namespace LockFiles {
QStringList Ownerless(const QString& lockName) {
    QStringList ownerless;
    QString link = lockName;
    for (int depth = 0; depth < kChainLength; ++depth, link += QStringLiteral(".rmlock")) {
        // A lock that names its owner is QLockFile's to judge: it takes over one whose owner has died.
        if (QFileInfo::exists(link) && !QLockFile(link).getLockInfo(nullptr, nullptr, nullptr))
            ownerless.append(link);
    }
    return ownerless;
}

bool RemoveUnheld(const QString& lockName) {
#ifdef Q_OS_UNIX
    const QByteArray path = QFile::encodeName(lockName);
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    // Only the file that was found free goes: one a starting copy has put there meanwhile is another file.
    struct stat opened {};
    struct stat named {};
    const bool removed = ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &opened) == 0 &&
                         ::stat(path.constData(), &named) == 0 && opened.st_dev == named.st_dev &&
                         opened.st_ino == named.st_ino && ::unlink(path.constData()) == 0;
    ::close(fd);
    return removed;
#else
    Q_UNUSED(lockName);
    return false;
#endif
}

int RemoveChain(const QString& lockName) {
    int removed = 0;
    QString link = lockName;
    for (int depth = 0; depth < kChainLength; ++depth, link += QStringLiteral(".rmlock"))
        removed += QFile::remove(link) ? 1 : 0;
    return removed;
}
} // namespace LockFiles

#include "LockFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>

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

int RemoveChain(const QString& lockName) {
    int removed = 0;
    QString link = lockName;
    for (int depth = 0; depth < kChainLength; ++depth, link += QStringLiteral(".rmlock"))
        removed += QFile::remove(link) ? 1 : 0;
    return removed;
}
} // namespace LockFiles

#include "LoadStoreFuzz.h"

#include "ReliabilityKit.h"
#include "SettingsProfileStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {
// One folder for the whole run, removed at exit; QDir::tempPath() follows $TMPDIR.
const QString& WorkFolder() {
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/nudgepost-fuzz-XXXXXX"));
    static const QString path = dir.path();
    return path;
}

bool WriteAll(const QString& path, const std::uint8_t* data, std::size_t size) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) == static_cast<qint64>(size);
}

void RemoveStoreFiles(const QString& path) {
    for (const char* suffix : {"", ".lock"})
        QFile::remove(path + QLatin1String(suffix));
    // The rescue copies a damaged input leaves are numbered.
    const QFileInfo store(path);
    QDir folder = store.dir();
    for (const QString& copy : folder.entryList({store.fileName() + QStringLiteral(".damaged-*")}, QDir::Files))
        folder.remove(copy);
}
} // namespace

std::string LoadStoreFromBytes(const std::uint8_t* data, std::size_t size) {
    static unsigned long long counter = 0;
    // Every input gets file names of its own: QSettings keeps files it has parsed and would not parse a file again
    // that looks unchanged.
    const QString base = WorkFolder() + QStringLiteral("/store-%1").arg(++counter);
    const QString path = base + QStringLiteral(".conf");
    const QString again = base + QStringLiteral("-again.conf");
    if (WorkFolder().isEmpty() || !WriteAll(path, data, size))
        return "could not write the input to " + path.toStdString();

    std::string failure;
    {
        SettingsProfileStore store(path);
        Reliability::LoadedState first(store);
        failure = Reliability::TableViolation(*first.state);
        if (failure.empty() && first.state->GlobalError())
            failure = "loading a writable store ended in the failed state: " + first.FirstError();
        if (failure.empty() && !first.state->SaveAll())
            failure = "saving the loaded table failed";
        if (failure.empty() && !QFile::copy(path, again))
            failure = "the saved store could not be copied";
        if (failure.empty()) {
            SettingsProfileStore reopened(again);
            Reliability::LoadedState second(reopened);
            if (!second.prompts.boxes.empty())
                failure = "loading the saved table gave the message: " + second.FirstError();
            else if (const std::string difference = Reliability::TableDifference(*first.state, *second.state);
                     !difference.empty())
                failure = "load, save, load changed the table: " + difference;
        }
    }
    RemoveStoreFiles(path);
    RemoveStoreFiles(again);
    return failure;
}

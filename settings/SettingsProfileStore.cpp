#include "SettingsProfileStore.h"

#include "IniText.h"
#include "IntParse.h"
#include "LockFiles.h"
#include "OwnerOnlyFiles.h"
#include "RescueCopies.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cstdint>
#include <string>
#include <vector>
#include <QVariant>

namespace {
QString Key(const std::string& section, const std::string& entry) {
    return QString::fromStdString(section) + QLatin1Char('/') + QString::fromStdString(entry);
}

// A list that was not read from the file's bytes (see SettingsProfileStore::Value) is at least not dropped.
QString AsText(const QVariant& value) {
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

// The six letters QSaveFile puts after a file's name for the copy it writes first: random letters of either case.
// A name a person gives a copy is all one case or a capital and small letters ("backup", "BACKUP", "Backup"); such a
// name is not taken for a leftover, at the price of leaving the odd real leftover that happens to look like one.
bool IsSaveCopySuffix(QStringView suffix) {
    bool lower = false;
    bool upperAfterFirst = false;
    for (qsizetype i = 0; i < suffix.size(); ++i) {
        const char16_t c = suffix[i].unicode();
        if (c >= u'a' && c <= u'z')
            lower = true;
        else if (c >= u'A' && c <= u'Z')
            upperAfterFirst = upperAfterFirst || i > 0;
        else
            return false;
    }
    return lower && upperAfterFirst;
}

// The store is the user's own file and nothing else. QSettings would otherwise look a missing value up in the
// organisation's file and in the system's folders, so a first start could load someone else's messages, and a damaged system file could spoil a healthy
// user store.
std::unique_ptr<QSettings> UserOnly(std::unique_ptr<QSettings> settings) {
    settings->setFallbacksEnabled(false);
    return settings;
}
} // namespace

SettingsProfileStore::SettingsProfileStore(const QString& organization, const QString& application)
    : m_settings(UserOnly(
          std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, organization, application))) {
    SetAsideDamagedFile();
}

SettingsProfileStore::SettingsProfileStore(const QString& iniFile)
    : m_settings(UserOnly(std::make_unique<QSettings>(iniFile, QSettings::IniFormat))) {
    SetAsideDamagedFile();
}

QString SettingsProfileStore::FileNameFor(const QString& organization, const QString& application) {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, organization, application).fileName();
}

SettingsProfileStore::~SettingsProfileStore() {
    // QSettings writes what it still holds when it goes.
    OwnerOnlyFiles privateFiles;
    m_settings.reset();
}

void SettingsProfileStore::Reopen(bool discardFile) {
    m_rawCurrent = false;
    const QString fileName = m_settings->fileName();
    const QSettings::Format format = m_settings->format();
    OwnerOnlyFiles privateFiles;
    m_settings.reset();
    if (discardFile)
        QFile::remove(fileName);
    m_settings = UserOnly(std::make_unique<QSettings>(fileName, format));
}

int SettingsProfileStore::ClearLeftovers(const QString& storeFile) {
    int removed = LockFiles::RemoveChain(storeFile + QStringLiteral(".lock"));
    const QFileInfo store(storeFile);
    const QString prefix = store.fileName() + QLatin1Char('.');
    QDir folder = store.absoluteDir();
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden | QDir::NoSymLinks)) {
        if (name.size() == prefix.size() + 6 && name.startsWith(prefix) &&
            IsSaveCopySuffix(QStringView(name).sliced(prefix.size())))
            removed += folder.remove(name) ? 1 : 0;
    }
    return removed;
}

void SettingsProfileStore::SetAsideDamagedFile() {
    // The file is parsed on first access; only then does the status tell whether it was damaged.
    const QStringList keys = m_settings->allKeys();
    // A file that exists but cannot be read loads as a first start. Were it written later, once readable again,
    // the defaults would replace the user's list, so such a store stays unwritten for the whole run.
    m_writesRefused = m_settings->status() == QSettings::AccessError;
    m_stamp = Stamp();
    if (m_settings->status() != QSettings::FormatError)
        return;
    // QSettings keeps what it could parse of a damaged file, drops the rest when it next writes, and goes on
    // reporting the parse error for every later write. The user's file is copied aside first, so a hand edit gone
    // wrong loses nothing; then the file is rewritten from what could be read, so that from here on the status
    // speaks of our own writes alone.
    if (SetAside().isEmpty())
        return;
    KeepNewestCopies();
    QList<std::pair<QString, QVariant>> readable;
    for (const QString& key : keys)
        readable.append({key, Value(key)});
    // The file is made anew; it keeps the mode its owner gave it.
    const QFileDevice::Permissions mode = QFile::permissions(m_settings->fileName());
    Reopen(true);
    for (const auto& [key, value] : readable)
        m_settings->setValue(key, value);
    {
        OwnerOnlyFiles privateFiles;
        m_settings->sync();
    }
    QFile::setPermissions(m_settings->fileName(), mode);
    m_stamp = Stamp();
    m_setAsideAtStart = true;
}

SettingsProfileStore::FileStamp SettingsProfileStore::Stamp() const {
    const QFileInfo file(m_settings->fileName());
    if (!file.exists())
        return {};
    return {true, file.size(), file.lastModified().toMSecsSinceEpoch(),
            file.metadataChangeTime().toMSecsSinceEpoch(), file.birthTime().toMSecsSinceEpoch()};
}

const QHash<QString, QByteArray>& SettingsProfileStore::RawValues() {
    // The file is looked at once for a run of reads, such as a whole load; a write or a save ends the run.
    if (m_rawRead && m_rawCurrent)
        return m_raw;
    m_rawCurrent = true;
    const FileStamp now = Stamp();
    if (!m_rawRead || now != m_rawStamp) {
        QFile file(m_settings->fileName());
        m_raw = file.open(QIODevice::ReadOnly) ? IniText::RawValues(file.readAll()) : QHash<QString, QByteArray>();
        m_rawStamp = now;
        m_rawRead = true;
    }
    return m_raw;
}

QVariant SettingsProfileStore::Value(const QString& key) {
    const QVariant value = m_settings->value(key);
    if (!value.isValid() || m_written.contains(key))
        return value;
    const QHash<QString, QByteArray>& raw = RawValues();
    const auto found = raw.constFind(key);
    if (found == raw.constEnd())
        return value;
    const bool list = value.typeId() == QMetaType::QStringList || value.typeId() == QMetaType::QVariantList;
    if (!list && QByteArrayView(*found).isValidUtf8())
        return value;
    const std::optional<QString> text = IniText::Text(*found);
    return text ? QVariant(*text) : value;
}

void SettingsProfileStore::PreserveBeforeRepair() {
    if (m_writesRefused)
        return;
    const FileStamp now = Stamp();
    // Nothing on disk, nothing to lose; and a file rewritten at start has its original set aside already.
    if (!now.exists || (m_setAsideAtStart && now == m_stamp))
        return;
    if (SetAside().isEmpty())
        m_writesRefused = true;
    else
        KeepNewestCopies();
}

QString SettingsProfileStore::SetAside(bool* made) {
    if (made)
        *made = false;
    const QFileInfo store(m_settings->fileName());
    const QDir folder = store.absoluteDir();
    const QString prefix = store.fileName() + QStringLiteral(".damaged-");
    const std::string prefixBytes = QFile::encodeName(prefix).toStdString();
    std::vector<std::string> names;
    for (const QString& name : folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        names.push_back(QFile::encodeName(name).toStdString());
    const RescueCopies::Plan plan = RescueCopies::PlanFor(names, prefixBytes);

    // The newest copy already holds the file as it is: it stands for the copy that would be made.
    QFile file(store.filePath());
    if (plan.newest && file.open(QIODevice::ReadOnly)) {
        const QString newest = folder.filePath(QFile::decodeName(QByteArray::fromStdString(*plan.newest)));
        QFile copy(newest);
        const bool same = QFileInfo(newest).isFile() && QFileInfo(newest).size() == file.size() &&
                          copy.open(QIODevice::ReadOnly) && copy.readAll() == file.readAll();
        file.close();
        if (same) {
            m_damagedCopy = newest;
            return newest;
        }
    }
    // Numbered on from the highest number there, so that the newest copy always has the highest number, even after
    // the user has deleted some of the earlier ones. QFile::copy never replaces a file that exists, so a copy made
    // meanwhile under the same name is kept too.
    constexpr int kTries = 100;
    std::string next = plan.next.substr(prefixBytes.size());
    for (int tries = 0; tries < kTries; ++tries, next = RescueCopies::Next(next)) {
        const QString copy = folder.filePath(prefix + QString::fromStdString(next));
        OwnerOnlyFiles privateFiles;
        if (QFile::copy(store.filePath(), copy)) {
            m_damagedCopy = copy;
            if (made)
                *made = true;
            return copy;
        }
        if (!QFileInfo::exists(copy))
            break;
    }
    return {};
}

void SettingsProfileStore::KeepNewestCopies() {
    const QFileInfo store(m_settings->fileName());
    QDir folder = store.absoluteDir();
    const QString prefix = store.fileName() + QStringLiteral(".damaged-");
    std::vector<std::string> names;
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        names.push_back(QFile::encodeName(name).toStdString());
    for (const std::string& old : RescueCopies::PlanFor(names, QFile::encodeName(prefix).toStdString()).dropWithoutCopy)
        folder.remove(QFile::decodeName(QByteArray::fromStdString(old)));
}

int SettingsProfileStore::GetProfileInt(const std::string& section, const std::string& entry, int nDefault) {
    const QVariant value = m_settings->value(Key(section, entry));
    if (!value.isValid())
        return nDefault;
    // A value written in this run comes back as the number it was; one read from the file is text, which must be
    // a whole 32-bit number.
    if (value.typeId() == QMetaType::Int || value.typeId() == QMetaType::UInt ||
        value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::ULongLong) {
        bool ok = false;
        const qlonglong number = value.toLongLong(&ok);
        if (ok && number >= INT32_MIN && number <= INT32_MAX)
            return static_cast<int>(number);
        if (ok && value.typeId() == QMetaType::UInt)
            return static_cast<int>(static_cast<quint32>(number));
        return nDefault;
    }
    if (value.typeId() != QMetaType::QString && value.typeId() != QMetaType::QByteArray)
        return nDefault;
    return ParseStoredInt(value.toString().toStdString()).value_or(nDefault);
}

std::string SettingsProfileStore::GetProfileString(const std::string& section, const std::string& entry,
                                                   const std::string& defaultValue) {
    const QVariant value = Value(Key(section, entry));
    if (!value.isValid())
        return defaultValue;
    return AsText(value).toStdString();
}

void SettingsProfileStore::StartSaveIfNeeded() {
    if (!m_reopenBeforeWrite)
        return;
    m_reopenBeforeWrite = false;
    Reopen();
}

bool SettingsProfileStore::WriteProfileInt(const std::string& section, const std::string& entry, int nValue) {
    if (m_writesRefused)
        return false;
    StartSaveIfNeeded();
    m_rawCurrent = false;
    m_written.insert(Key(section, entry));
    m_settings->setValue(Key(section, entry), nValue);
    return m_settings->status() != QSettings::AccessError;
}

bool SettingsProfileStore::WriteProfileString(const std::string& section, const std::string& entry,
                                              const std::string& value) {
    if (m_writesRefused)
        return false;
    StartSaveIfNeeded();
    m_rawCurrent = false;
    m_written.insert(Key(section, entry));
    m_settings->setValue(Key(section, entry), QString::fromStdString(value));
    return m_settings->status() != QSettings::AccessError;
}

bool SettingsProfileStore::Commit() {
    m_rawCurrent = false;
    if (m_writesRefused)
        return false;
    // A file that changed since this object last read or wrote it was edited by hand. QSettings reads it again
    // before it writes and merges our values into it; lines there that are no values it drops, reports that as a
    // parse error and writes all the rest. So the file as it is now is set aside first, and kept if anything of it
    // was dropped.
    const FileStamp before = Stamp();
    const bool edited = before.exists && before != m_stamp;
    const QString earlierCopy = m_damagedCopy;
    bool madeCopy = false;
    const QString copy = edited ? SetAside(&madeCopy) : QString();
    {
        OwnerOnlyFiles privateFiles;
        m_settings->sync();
    }
    const QSettings::Status status = m_settings->status();
    bool ok = status == QSettings::NoError;
    if (status == QSettings::FormatError && edited) {
        // A parse error hides any error after it, so whether the write landed is told by the file: a save replaces
        // it with a new one. Without the copy, the dropped lines would be lost silently, and the save fails.
        ok = !copy.isEmpty() && Stamp() != before;
        if (madeCopy)
            KeepNewestCopies();
    } else if (!copy.isEmpty()) {
        // Not needed: a copy made for this save goes again; one that was there already stays.
        if (madeCopy)
            QFile::remove(copy);
        m_damagedCopy = earlierCopy;
    }
    if (ok)
        m_stamp = Stamp();
    // QSettings never clears a failed status, so every later save would fail at its first write for the rest of
    // the run, even once the disk has room again. The save after a failed one starts on a fresh object, made
    // only then: made at once, it would try the write again while the cause is most likely still there.
    m_reopenBeforeWrite = status != QSettings::NoError;
    return ok;
}

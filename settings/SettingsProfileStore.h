#pragma once

#include "ProfileStore.h"

#include <QHash>
#include <QSet>
#include <QSettings>
#include <QString>

#include <memory>

// The store on QSettings: the INI file <config>/<organization>/<application>.conf, which QSettings replaces
// atomically on every sync. A file it creates is its owner's alone (0600, and 0700 for the folders made for it); one that exists keeps its mode.
class SettingsProfileStore : public ProfileStore {
public:
    SettingsProfileStore(const QString& organization, const QString& application);
    // A store at an explicit INI file; used where the file must be chosen, as in tests and benchmarks.
    explicit SettingsProfileStore(const QString& iniFile);
    ~SettingsProfileStore() override;

    int GetProfileInt(const std::string& section, const std::string& entry, int nDefault) override;
    std::string GetProfileString(const std::string& section, const std::string& entry,
                                 const std::string& defaultValue = {}) override;
    bool WriteProfileInt(const std::string& section, const std::string& entry, int nValue) override;
    bool WriteProfileString(const std::string& section, const std::string& entry, const std::string& value) override;
    bool Commit() override;
    // Sets the file as it is aside, as for a file that cannot be parsed; where that cannot be done, every later
    // write of this run fails, so that the failed state follows and nothing is dropped without a copy.
    void PreserveBeforeRepair() override;

    QString FileName() const { return m_settings->fileName(); }
    // The file a store of the given organisation and application lives in, without reading it.
    static QString FileNameFor(const QString& organization, const QString& application);
    // For the copy that owns the store, before its first save: removes what copies killed in the middle of a save
    // left beside the store, and returns how many files it removed. QSettings guards every save with
    // "<file>.lock" (and the take-over of a stale one with "<file>.lock.rmlock", and so on). Such a lock left
    // behind is taken for held until it goes stale, and for good when it names a live process: in a PID namespace
    // a new copy gets the number of the copy that was killed. So every lock of that chain goes, whatever it names.
    // A save writes the whole store into "<file>.XXXXXX" (six random letters) before it replaces the file; such
    // copies go too, and nothing the user could have named so ("backup", "Backup", "BACKUP") does. Only safe
    // while no other process can be saving the same store.
    static int ClearLeftovers(const QString& storeFile);
    // The copy of the store file that this object set aside last: before it rewrote a file that could not be parsed
    // in full, before a load's repair (PreserveBeforeRepair), or when a save dropped lines of a hand edit. It is
    // "<file>.damaged-N", numbered on from the highest number beside it, so that no earlier copy is ever replaced,
    // or the newest such copy when that holds the same bytes already; only the newest ten are kept (RescueCopies).
    // Empty when it set nothing aside.
    QString DamagedCopy() const { return m_damagedCopy; }

private:
    // What tells one version of the file from another without reading it; a save replaces the file with a new one.
    struct FileStamp {
        bool exists = false;
        qint64 size = 0;
        qint64 modified = 0;
        qint64 changed = 0;
        qint64 born = 0;
        bool operator==(const FileStamp&) const = default;
    };
    FileStamp Stamp() const;
    // The value QSettings reads, except where it would lose what a person wrote into the file by hand: a text
    // with unquoted commas, which it reads as a list, and a text that is not UTF-8. Those are read from the file's
    // own bytes (see IniText). A value this object wrote is QSettings' own.
    QVariant Value(const QString& key);
    const QHash<QString, QByteArray>& RawValues();
    void SetAsideDamagedFile();
    // Copies the file as it is on disk to the next free "<file>.damaged-N", unless the newest such copy holds the
    // same bytes already (RescueCopies); returns the copy that holds them, new or not, or empty on failure. made
    // tells whether a new copy was made.
    QString SetAside(bool* made = nullptr);
    // Removes all but the newest ten copies (RescueCopies::kKept); called once a new copy is kept.
    void KeepNewestCopies();
    // The same file on a fresh QSettings, whose status speaks of nothing before it; with discardFile, the file is
    // removed before it is opened again.
    void Reopen(bool discardFile = false);
    void StartSaveIfNeeded();

    std::unique_ptr<QSettings> m_settings;
    QString m_damagedCopy;
    // The file as this object last read or wrote it.
    FileStamp m_stamp;
    // The file was set aside at start and rewritten from what could be read; m_stamp is that rewrite.
    bool m_setAsideAtStart = false;
    bool m_reopenBeforeWrite = false;
    QSet<QString> m_written;
    QHash<QString, QByteArray> m_raw;
    FileStamp m_rawStamp; // the file m_raw was read from
    bool m_rawRead = false;
    bool m_rawCurrent = false; // no write since the file was last looked at
    // Writes fail for the rest of the run: the file could not be read at start, or what a repair would drop could
    // not be set aside.
    bool m_writesRefused = false;
};

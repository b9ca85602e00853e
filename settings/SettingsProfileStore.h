#pragma once

#include "ProfileStore.h"

#include <QSettings>
#include <QString>

#include <memory>

// The store on QSettings in the platform's native format: on Windows the registry key
// HKEY_CURRENT_USER\Software\<organization>\<application> with DWORD and string values; elsewhere the INI file
// <config>/<organization>/<application>.conf, which QSettings replaces atomically on every sync.
class SettingsProfileStore : public ProfileStore {
public:
    SettingsProfileStore(const QString& organization, const QString& application);
    // A store at an explicit INI file; used where the file must be chosen, as in tests and benchmarks.
    explicit SettingsProfileStore(const QString& iniFile);

    int GetProfileInt(const std::string& section, const std::string& entry, int nDefault) override;
    std::string GetProfileString(const std::string& section, const std::string& entry,
                                 const std::string& defaultValue = {}) override;
    bool WriteProfileInt(const std::string& section, const std::string& entry, int nValue) override;
    bool WriteProfileString(const std::string& section, const std::string& entry, const std::string& value) override;
    bool Commit() override;

    QString FileName() const { return m_settings->fileName(); }
    // The file a store of the given organisation and application lives in, without reading it.
    static QString FileNameFor(const QString& organization, const QString& application);
    // QSettings guards its writes with "<file>.lock", and the take-over of a stale one with "<file>.lock.rmlock".
    // A process that dies between creating such a lock and writing its owner into it leaves an empty lock
    // behind, and every later save would wait half a minute for it to go stale. Removes such locks and returns
    // how many; only safe while no other process can be saving the same store.
    static int RemoveAbandonedWriteLock(const QString& storeFile);
    // The copy of the store file that this object set aside last, before it rewrote a file that could not be parsed
    // in full: "<file>.damaged-N", numbered on from the highest number beside it, so that no earlier copy is ever
    // replaced. Empty when it set nothing aside.
    QString DamagedCopy() const { return m_damagedCopy; }

private:
    void SetAsideDamagedFile();
    // Copies the file as it is on disk to the next free "<file>.damaged-N"; returns the copy, or empty on failure.
    QString SetAside();
    // The same file on a fresh QSettings, whose status speaks of nothing before it; with discardFile, the file is
    // removed before it is opened again.
    void Reopen(bool discardFile = false);
    void StartSaveIfNeeded();

    std::unique_ptr<QSettings> m_settings;
    QString m_damagedCopy;
    bool m_reopenBeforeWrite = false;
    bool m_unreadable = false;
};

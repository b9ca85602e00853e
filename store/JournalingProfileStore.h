#pragma once

#include "HierarchicalStore.h"
#include "ProfileStore.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

// A settings store over a hierarchical store (the registry) whose saves are all or nothing: killed at any moment,
// or failing part-way, a save leaves on the next start exactly the state before it or the state after it.
//
// The sections are subkeys of the program's key ("Configuration", "Messages"), with the values they always held. The
// writes of a save are kept until Commit, which
//   1. makes sure every section the save writes may be written (else the save fails, the sections untouched),
//   2. writes the journal: the subkey "Journal" of the program's key, holding the whole save as one text value
//      "Save" (a line per value: section, name, "i" or "s", and the value, with tab, line break and backslash
//      escaped), and then its completion mark, the value "Complete", the number of those lines,
//   3. flushes, writes the values into the sections, flushes again, and deletes the journal.
// One value for the whole journal keeps a save of a hundred long messages nearly as cheap as writing the sections
// alone. Before the first read, the store is opened: a complete journal (its mark there and matching) is written
// into the sections and deleted, so the save it holds is finished; an incomplete one is deleted, so the save it began
// never happened. Either way the sections then hold a whole store, as an earlier build or a registry export reads it.
//
// Reads never fail: a missing value, or one of another type than asked for, gives the caller's default. Reads see
// the writes of a save not yet committed.
class JournalingProfileStore : public ProfileStore {
public:
    explicit JournalingProfileStore(HierarchicalStore& tree);

    int GetProfileInt(const std::string& section, const std::string& entry, int nDefault) override;
    std::string GetProfileString(const std::string& section, const std::string& entry,
                                 const std::string& defaultValue = {}) override;
    bool WriteProfileInt(const std::string& section, const std::string& entry, int nValue) override;
    bool WriteProfileString(const std::string& section, const std::string& entry, const std::string& value) override;
    // Finishes the save as described above; false, with the sections as they were, when it could not be made.
    bool Commit() override;
    // Copies every section, as it is, under a new subkey "Damaged N" of the program's key, numbered on from the
    // highest number there; no copy is made when the newest one holds the same, and only the newest ten are kept
    // (RescueCopies). If the copy cannot be made, every later write fails, so the repair cannot overwrite what it
    // would drop.
    void PreserveBeforeRepair() override;

    // Finishes or drops what a killed save left; the first read or write does it when this was not called.
    void Open();

    static constexpr const char* kJournal = "Journal";
    static constexpr const char* kSave = "Save";
    static constexpr const char* kCompleteMark = "Complete";
    static constexpr const char* kDamagedPrefix = "Damaged ";

private:
    using Value = HierarchicalStore::Value;
    struct Write {
        std::string section;
        std::string entry;
        Value value;
    };
    class Values {
    public:
        void Put(const std::string& section, const std::string& entry, Value value);
        const Value* Find(const std::string& section, const std::string& entry) const;
        const std::vector<Write>& InOrder() const { return m_writes; }
        bool Empty() const { return m_writes.empty(); }
        void Clear();

    private:
        std::vector<Write> m_writes;
        std::map<std::pair<std::string, std::string>, std::size_t> m_index;
    };

    bool Journal(const std::string& section, const std::string& entry, Value value);
    static std::string Serialized(const Values& values);
    // The values of a journal's text; false when it is not one.
    static bool Parse(const std::string& text, Values& values);
    // Writes the values into the sections, once each section is known to be writable; false on any failure.
    bool SectionsWritable(const Values& values);
    bool WriteIntoSections(const Values& values);
    void DropJournal();
    // A replay that failed half-way: the journal stays for the next start, this run shows what it holds and
    // writes nothing more.
    void KeepJournal(Values values);
    const Value* Pending(const std::string& section, const std::string& entry) const;

    HierarchicalStore& m_tree;
    bool m_opened = false;
    bool m_saving = false;     // a save of this run is under way
    bool m_saveFailed = false; // and one of its writes was refused
    bool m_refuseWrites = false;
    Values m_pending; // the values of the save under way
    Values m_kept;    // the values of a complete journal that could not be written into the sections
};

#include "JournalingProfileStore.h"

#include "RescueCopies.h"

#include <algorithm>
#include <set>

namespace {
std::string Below(const std::string& key, const std::string& subkey) {
    return key.empty() ? subkey : key + "\\" + subkey;
}
} // namespace

JournalingProfileStore::JournalingProfileStore(HierarchicalStore& tree) : m_tree(tree) {}

void JournalingProfileStore::Values::Put(const std::string& section, const std::string& entry, Value value) {
    const auto [found, added] = m_index.emplace(std::pair{section, entry}, m_writes.size());
    if (added)
        m_writes.push_back({section, entry, std::move(value)});
    else
        m_writes[found->second].value = std::move(value);
}

const JournalingProfileStore::Value* JournalingProfileStore::Values::Find(const std::string& section,
                                                                          const std::string& entry) const {
    const auto found = m_index.find({section, entry});
    return found == m_index.end() ? nullptr : &m_writes[found->second].value;
}

void JournalingProfileStore::Values::Clear() {
    m_writes.clear();
    m_index.clear();
}

void JournalingProfileStore::Open() {
    if (m_opened)
        return;
    m_opened = true;
    const std::optional<std::vector<std::string>> keys = m_tree.Subkeys("");
    if (!keys || std::find(keys->begin(), keys->end(), kJournal) == keys->end())
        return;

    // The values of the journal, and whether its mark says that all of them are there.
    Values journaled;
    bool readable = true;
    if (const auto sections = m_tree.Subkeys(kJournal)) {
        for (const std::string& section : *sections) {
            const auto values = m_tree.Values(Below(kJournal, section));
            if (!values) {
                readable = false;
                break;
            }
            for (const HierarchicalStore::NamedValue& value : *values)
                journaled.Put(section, value.name, value.value);
        }
    } else {
        readable = false;
    }
    const std::optional<int> mark = m_tree.ReadInt(kJournal, kCompleteMark);
    const bool complete = readable && mark && *mark > 0 &&
                          static_cast<std::size_t>(*mark) == journaled.InOrder().size();
    if (!complete) {
        // A save that never finished: it did not happen.
        DropJournal();
        return;
    }
    if (!SectionsWritable(journaled) || !WriteIntoSections(journaled) || !m_tree.Flush()) {
        KeepJournal(std::move(journaled));
        return;
    }
    DropJournal();
}

const JournalingProfileStore::Value* JournalingProfileStore::Pending(const std::string& section,
                                                                     const std::string& entry) const {
    if (const Value* value = m_pending.Find(section, entry))
        return value;
    return m_kept.Find(section, entry);
}

int JournalingProfileStore::GetProfileInt(const std::string& section, const std::string& entry, int nDefault) {
    Open();
    if (const Value* value = Pending(section, entry)) {
        const int* number = std::get_if<int>(value);
        return number ? *number : nDefault;
    }
    return m_tree.ReadInt(section, entry).value_or(nDefault);
}

std::string JournalingProfileStore::GetProfileString(const std::string& section, const std::string& entry,
                                                     const std::string& defaultValue) {
    Open();
    if (const Value* value = Pending(section, entry)) {
        const std::string* text = std::get_if<std::string>(value);
        return text ? *text : defaultValue;
    }
    return m_tree.ReadString(section, entry).value_or(defaultValue);
}

bool JournalingProfileStore::WriteProfileInt(const std::string& section, const std::string& entry, int nValue) {
    return Journal(section, entry, nValue);
}

bool JournalingProfileStore::WriteProfileString(const std::string& section, const std::string& entry,
                                                const std::string& value) {
    return Journal(section, entry, value);
}

bool JournalingProfileStore::Journal(const std::string& section, const std::string& entry, Value value) {
    Open();
    if (m_refuseWrites)
        return false;
    if (!m_saving) {
        // A new save: whatever an earlier, failed one left of its journal goes first.
        m_saving = true;
        m_saveFailed = !m_tree.DeleteKey(kJournal);
    }
    if (m_saveFailed)
        return false;
    const std::string key = Below(kJournal, section);
    const bool written = std::holds_alternative<int>(value)
                             ? m_tree.WriteInt(key, entry, std::get<int>(value))
                             : m_tree.WriteString(key, entry, std::get<std::string>(value));
    if (!written) {
        m_saveFailed = true;
        return false;
    }
    m_pending.Put(section, entry, std::move(value));
    return true;
}

bool JournalingProfileStore::SectionsWritable(const Values& values) {
    std::set<std::string> sections;
    for (const Write& write : values.InOrder())
        sections.insert(write.section);
    return std::all_of(sections.begin(), sections.end(),
                       [this](const std::string& section) { return m_tree.CanWrite(section); });
}

bool JournalingProfileStore::WriteIntoSections(const Values& values) {
    for (const Write& write : values.InOrder()) {
        const bool written = std::holds_alternative<int>(write.value)
                                 ? m_tree.WriteInt(write.section, write.entry, std::get<int>(write.value))
                                 : m_tree.WriteString(write.section, write.entry, std::get<std::string>(write.value));
        if (!written)
            return false;
    }
    return true;
}

void JournalingProfileStore::DropJournal() {
    m_tree.DeleteKey(kJournal);
}

void JournalingProfileStore::KeepJournal(Values values) {
    m_kept = std::move(values);
    m_refuseWrites = true;
}

bool JournalingProfileStore::Commit() {
    Open();
    if (!m_saving)
        return !m_refuseWrites;
    m_saving = false;
    Values save = std::move(m_pending);
    m_pending.Clear();
    if (m_saveFailed || m_refuseWrites || !SectionsWritable(save) ||
        !m_tree.WriteInt(kJournal, kCompleteMark, static_cast<int>(save.InOrder().size())) || !m_tree.Flush()) {
        // Not one value of the sections has changed; the save did not happen.
        DropJournal();
        return false;
    }
    // From here on the journal is complete: if the process ends now, the next start finishes the save.
    if (!WriteIntoSections(save) || !m_tree.Flush()) {
        KeepJournal(std::move(save));
        return false;
    }
    // A journal left behind by a failed deletion holds what the sections hold: finishing it again changes nothing,
    // and the next save deletes it first.
    DropJournal();
    return true;
}

void JournalingProfileStore::PreserveBeforeRepair() {
    Open();
    if (m_refuseWrites)
        return;
    const std::optional<std::vector<std::string>> keys = m_tree.Subkeys("");
    if (!keys) {
        m_refuseWrites = true;
        return;
    }
    // Every section, not only those the load has read: a count out of range leaves the messages unread.
    const std::string_view prefix = kDamagedPrefix;
    std::vector<std::string> sections;
    for (const std::string& key : *keys) {
        if (key != kJournal && key.compare(0, prefix.size(), prefix) != 0)
            sections.push_back(key);
    }
    const RescueCopies::Plan plan = RescueCopies::PlanFor(*keys, prefix);
    if (sections.empty()) {
        // Nothing there that a repair could drop.
        for (const std::string& old : plan.dropWithoutCopy)
            m_tree.DeleteKey(old);
        return;
    }

    // The newest copy already holds what is there when it has the same sections, each with the same content.
    bool same = false;
    if (plan.newest) {
        const std::optional<std::vector<std::string>> copied = m_tree.Subkeys(*plan.newest);
        if (copied) {
            std::vector<std::string> a = sections;
            std::vector<std::string> b = *copied;
            std::sort(a.begin(), a.end());
            std::sort(b.begin(), b.end());
            same = a == b && std::all_of(sections.begin(), sections.end(), [&](const std::string& section) {
                       return m_tree.SameContent(section, Below(*plan.newest, section));
                   });
        }
    }
    if (same) {
        for (const std::string& old : plan.dropWithoutCopy)
            m_tree.DeleteKey(old);
        return;
    }
    bool preserved = true;
    for (const std::string& section : sections) {
        if (!m_tree.CopyKey(section, Below(plan.next, section))) {
            preserved = false;
            break;
        }
    }
    if (!preserved || !m_tree.Flush()) {
        // Half a copy would pass for the newest one at the next repair.
        m_tree.DeleteKey(plan.next);
        m_refuseWrites = true;
        return;
    }
    for (const std::string& old : plan.dropAfterCopy)
        m_tree.DeleteKey(old);
}

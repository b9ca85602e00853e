#include "JournalingProfileStore.h"

#include "IntParse.h"
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

std::string JournalingProfileStore::Serialized(const Values& values) {
    std::string text;
    auto escaped = [&text](const std::string& field) {
        for (const char c : field) {
            switch (c) {
            case '\\':
                text += "\\\\";
                break;
            case '\t':
                text += "\\t";
                break;
            case '\n':
                text += "\\n";
                break;
            case '\r':
                text += "\\r";
                break;
            default:
                text += c;
            }
        }
    };
    for (const Write& write : values.InOrder()) {
        escaped(write.section);
        text += '\t';
        escaped(write.entry);
        if (const int* number = std::get_if<int>(&write.value)) {
            text += "\ti\t" + std::to_string(*number);
        } else {
            text += "\ts\t";
            escaped(std::get<std::string>(write.value));
        }
        text += '\n';
    }
    return text;
}

bool JournalingProfileStore::Parse(const std::string& text, Values& values) {
    std::size_t at = 0;
    while (at < text.size()) {
        std::vector<std::string> fields(1);
        for (; at < text.size() && text[at] != '\n'; ++at) {
            const char c = text[at];
            if (c == '\t') {
                fields.emplace_back();
            } else if (c == '\\') {
                if (++at == text.size())
                    return false;
                const char escaped = text[at];
                if (escaped != '\\' && escaped != 't' && escaped != 'n' && escaped != 'r')
                    return false;
                fields.back() += escaped == 't' ? '\t' : escaped == 'n' ? '\n' : escaped == 'r' ? '\r' : '\\';
            } else {
                fields.back() += c;
            }
        }
        if (at == text.size() || fields.size() != 4)
            return false; // every line ends with its line break: a line cut short is no journal
        ++at;
        if (fields[2] == "s") {
            values.Put(fields[0], fields[1], fields[3]);
        } else if (fields[2] == "i") {
            const std::optional<int> number = ParseStoredInt(fields[3]);
            if (!number)
                return false;
            values.Put(fields[0], fields[1], *number);
        } else {
            return false;
        }
    }
    return true;
}

void JournalingProfileStore::Open() {
    if (m_opened)
        return;
    m_opened = true;
    const std::optional<std::vector<std::string>> keys = m_tree.Subkeys("");
    if (!keys || std::find(keys->begin(), keys->end(), kJournal) == keys->end())
        return;

    Values journaled;
    const std::optional<int> mark = m_tree.ReadInt(kJournal, kCompleteMark);
    const std::optional<std::string> save = m_tree.ReadString(kJournal, kSave);
    const bool complete = mark && save && Parse(*save, journaled) && *mark > 0 &&
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
    m_saving = true;
    // A section that may not be written fails the write at once, as it always did; the save fails with it.
    if (m_saveFailed || !m_tree.CanWrite(section)) {
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
    const bool refused = m_saveFailed;
    m_saveFailed = false;
    Values save = std::move(m_pending);
    m_pending.Clear();
    if (refused || m_refuseWrites || !SectionsWritable(save))
        return false;
    // What an earlier save left of its journal goes first; then the journal, its mark last.
    if (!m_tree.DeleteKey(kJournal) || !m_tree.WriteString(kJournal, kSave, Serialized(save)) ||
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

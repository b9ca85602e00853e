// The registry store on its own: value types and names, keys made on first access, values of the wrong type,
// texts in any script, hand-edited strings, refused writes, and the copy kept before a repair.

#include "RegistryProfileStore.h"
#include "ReminderModel.h"
#include "ScratchKey.h"
#include "TestHarness.h"
#include "UserPrompts.h"
#include "Utf8.h"

#include <algorithm>
#include <cstdint>

using namespace Win32Ui;

namespace {
const std::wstring kKey = L"NudgepostTest-RegistryStore";

class RecordedPrompts : public UserPrompts {
public:
    void Beep() override {}
    void ErrorBox(const std::string& text, const std::string&) override { boxes.push_back(text); }
    bool AskYesNo(const std::string&, const std::string&) override { return true; }
    std::vector<std::string> boxes;
};

// One start of the program's store and load on the key: the texts of the boxes it showed, one a line.
std::string Start(const ScratchKey& scratch) {
    RegistryProfileStore store(HKEY_CURRENT_USER, scratch.Path());
    RecordedPrompts prompts;
    ReminderServices services;
    services.store = &store;
    services.prompts = &prompts;
    ReminderModel model(services);
    model.AllocateTable();
    model.LoadAll();
    std::string boxes;
    for (const std::string& box : prompts.boxes)
        boxes += box + "\n";
    return boxes;
}

void StoreMessage(ScratchKey& scratch, int index, const std::wstring& name) {
    scratch.SetString(L"Messages", Numbered(L"MessageName", index), name);
    scratch.SetString(L"Messages", Numbered(L"MessageText", index), L"Text of " + name);
    for (const wchar_t* prefix : {L"MessageDay", L"MessageMonth", L"MessageYear", L"MessageMinute", L"MessageHour",
                                  L"MessageShowTime", L"MessageShowEveryTime", L"MessageActive", L"ShowEveryDay"})
        scratch.SetDword(L"Messages", Numbered(prefix, index), std::wstring(prefix) == L"MessageYear" ? 2030 : 1);
}

void StoreSettings(ScratchKey& scratch, int count) {
    scratch.SetDword(L"Configuration", L"Number of messages", count);
    for (const wchar_t* option : {L"Activated messages", L"Tooltips", L"Show warnings", L"Show minimized"})
        scratch.SetDword(L"Configuration", option, 1);
}

// The names of the rescue copies, sorted, one a line.
std::wstring RescueCopies(const ScratchKey& scratch) {
    std::vector<std::wstring> copies;
    for (const std::wstring& name : scratch.Subkeys()) {
        if (name.rfind(L"Damaged ", 0) == 0)
            copies.push_back(name);
    }
    std::sort(copies.begin(), copies.end());
    std::wstring lines;
    for (const std::wstring& copy : copies)
        lines += copy + L"\n";
    return lines;
}
} // namespace

TEST_CASE(IntegersAreDwordsAndStringsAreText) {
    ScratchKey scratch(kKey);
    RegistryProfileStore store(HKEY_CURRENT_USER, scratch.Path());
    CHECK(store.WriteProfileInt("Configuration", "Number of messages", 3));
    CHECK(store.WriteProfileInt("Messages", "MessageDay0", -1));
    CHECK(store.WriteProfileString("Messages", "MessageName0", "Tea"));
    CHECK(store.Commit());

    const auto configuration = scratch.Values(L"Configuration");
    CHECK_EQ(configuration.size(), 1u);
    CHECK(configuration.count(L"Number of messages") && configuration.at(L"Number of messages").IsDword(3));
    const auto messages = scratch.Values(L"Messages");
    CHECK_EQ(messages.size(), 2u);
    // -1 keeps its bit pattern, as a signed 32-bit value in four little-endian bytes.
    CHECK(messages.count(L"MessageDay0") && messages.at(L"MessageDay0").IsDword(-1));
    CHECK(messages.count(L"MessageName0") && messages.at(L"MessageName0").IsString(L"Tea"));

    CHECK_EQ(store.GetProfileInt("Messages", "MessageDay0", 7), -1);
    CHECK_EQ(store.GetProfileString("Messages", "MessageName0"), std::string("Tea"));
}

TEST_CASE(ReadingCreatesTheKeys) {
    ScratchKey scratch(kKey);
    RegistryProfileStore store(HKEY_CURRENT_USER, scratch.Path());
    CHECK(!scratch.Exists());
    CHECK_EQ(store.GetProfileInt("Configuration", "Number of messages", -1), -1);
    CHECK(scratch.HasSection(L"Configuration"));
    CHECK(!scratch.HasSection(L"Messages"));
    CHECK_EQ(store.GetProfileString("Messages", "MessageName0", "none"), std::string("none"));
    CHECK(scratch.HasSection(L"Messages"));
}

TEST_CASE(ValuesOfAnotherTypeReadAsTheDefault) {
    struct Case {
        const char* label;
        DWORD type;
        std::vector<BYTE> data;
        bool readAsInt; // false: read as a string
    };
    const std::uint64_t wide = 5;
    const std::int16_t shortInt = 5;
    const std::wstring five = L"5";
    auto bytes = [](const void* data, std::size_t size) {
        const BYTE* begin = static_cast<const BYTE*>(data);
        return std::vector<BYTE>(begin, begin + size);
    };
    const std::int32_t dword = 5;
    const Case cases[] = {
        {"text where a number belongs", REG_SZ, bytes(five.c_str(), 4), true},
        {"four bytes of binary", REG_BINARY, bytes(&dword, 4), true},
        {"a 64-bit number", REG_QWORD, bytes(&wide, 8), true},
        {"a DWORD of two bytes", REG_DWORD, bytes(&shortInt, 2), true},
        {"a number where text belongs", REG_DWORD, bytes(&dword, 4), false},
        {"expandable text", REG_EXPAND_SZ, bytes(five.c_str(), 4), false},
        {"a list of texts", REG_MULTI_SZ, bytes(L"5\0\0", 6), false},
        {"binary where text belongs", REG_BINARY, bytes(five.c_str(), 4), false},
    };
    for (const Case& c : cases) {
        ROW(c.label);
        ScratchKey scratch(kKey);
        scratch.SetRaw(L"Messages", L"Value", c.type, c.data.data(), static_cast<DWORD>(c.data.size()));
        RegistryProfileStore store(HKEY_CURRENT_USER, scratch.Path());
        if (c.readAsInt)
            CHECK_EQ(store.GetProfileInt("Messages", "Value", -1), -1);
        else
            CHECK_EQ(store.GetProfileString("Messages", "Value", "default"), std::string("default"));
    }
}

TEST_CASE(TextsInAnyScriptRoundTrip) {
    struct Case {
        const char* label;
        std::wstring text;
    };
    const Case cases[] = {
        {"plain", L"Tea time"},
        {"accents", L"Gr\u00fc\u00dfe \u00e0 \u00c9milie"},
        {"Greek and Cyrillic",
         L"\u039a\u03b1\u03bb\u03b7\u03bc\u03ad\u03c1\u03b1 \u041f\u0440\u0438\u0432\u0435\u0442"},
        {"Chinese", L"\u559d\u8336\u65f6\u95f4"},
        {"beyond the basic plane", L"Bake \U0001F382 at four"},
        {"right to left", L"\u05e9\u05dc\u05d5\u05dd \u0645\u0631\u062d\u0628\u0627"},
        {"line breaks", L"first\r\nsecond"},
        {"empty", L""},
    };
    for (const Case& c : cases) {
        ROW(c.label);
        ScratchKey scratch(kKey);
        {
            RegistryProfileStore store(HKEY_CURRENT_USER, scratch.Path());
            CHECK(store.WriteProfileString("Messages", "MessageText0", ToUtf8(c.text)));
            CHECK(store.Commit());
        }
        // Stored as the characters themselves, so that the registry editor shows what the user wrote.
        const auto values = scratch.Values(L"Messages");
        CHECK(values.count(L"MessageText0") && values.at(L"MessageText0").IsString(c.text));
        RegistryProfileStore store(HKEY_CURRENT_USER, scratch.Path());
        CHECK_EQ(ToWide(store.GetProfileString("Messages", "MessageText0", "missing")), c.text);
    }
}

TEST_CASE(HandEditedStringsEndAtTheirFirstNul) {
    struct Case {
        const char* label;
        std::vector<wchar_t> data;
        std::size_t bytes; // how much of data the value holds
        std::wstring expected;
    };
    const Case cases[] = {
        {"no terminating NUL", {L'T', L'e', L'a'}, 6, L"Tea"},
        {"a NUL inside", {L'T', L'e', L'a', L'\0', L'x', L'\0'}, 12, L"Tea"},
        {"half a character at the end", {L'T', L'e', L'a', L'x'}, 7, L"Tea"},
        {"nothing at all", {L'\0'}, 0, L""},
    };
    for (const Case& c : cases) {
        ROW(c.label);
        ScratchKey scratch(kKey);
        scratch.SetRaw(L"Messages", L"MessageName0", REG_SZ, c.data.data(), static_cast<DWORD>(c.bytes));
        RegistryProfileStore store(HKEY_CURRENT_USER, scratch.Path());
        CHECK_EQ(ToWide(store.GetProfileString("Messages", "MessageName0", "missing")), c.expected);
    }
}

TEST_CASE(AKeyThatCannotBeWrittenStillShowsWhatIsStoredAndRefusesWrites) {
    ScratchKey scratch(kKey);
    scratch.SetDword(L"Configuration", L"Number of messages", 4);
    scratch.SetString(L"Messages", L"MessageName0", L"Tea");
    scratch.MakeReadOnly();
    RegistryProfileStore store(HKEY_CURRENT_USER, scratch.Path());
    CHECK_EQ(store.GetProfileInt("Configuration", "Number of messages", -1), 4);
    CHECK_EQ(store.GetProfileString("Messages", "MessageName0"), std::string("Tea"));
    CHECK(!store.WriteProfileInt("Configuration", "Number of messages", 0));
    CHECK(!store.WriteProfileString("Messages", "MessageName0", "Coffee"));
    CHECK(scratch.Values(L"Configuration").at(L"Number of messages").IsDword(4));
}

TEST_CASE(ARepairKeepsANumberedCopyOfEverySectionBesideTheEarlierOnes) {
    ScratchKey scratch(kKey);
    scratch.SetDword(L"Configuration", L"Number of messages", 150);
    scratch.SetString(L"Messages", L"MessageName0", L"Tea");
    scratch.SetString(L"Damaged 1\\Messages", L"MessageName0", L"an earlier copy");
    scratch.SetString(L"Damaged 3\\Messages", L"MessageName0", L"a later copy");
    RegistryProfileStore store(HKEY_CURRENT_USER, scratch.Path());
    // Only the count has been read: the messages must be kept all the same.
    CHECK_EQ(store.GetProfileInt("Configuration", "Number of messages", -1), 150);
    store.PreserveBeforeRepair();
    CHECK(store.WriteProfileInt("Configuration", "Number of messages", 0));
    CHECK(store.Commit());

    // Numbered on from the highest number there, so the newest copy has the highest number.
    const auto configuration = scratch.Values(L"Damaged 4\\Configuration");
    CHECK(configuration.count(L"Number of messages") && configuration.at(L"Number of messages").IsDword(150));
    const auto messages = scratch.Values(L"Damaged 4\\Messages");
    CHECK_EQ(messages.size(), 1u);
    CHECK(messages.count(L"MessageName0") && messages.at(L"MessageName0").IsString(L"Tea"));
    // Earlier copies are neither replaced nor copied again.
    CHECK(scratch.Values(L"Damaged 1\\Messages").at(L"MessageName0").IsString(L"an earlier copy"));
    CHECK(scratch.Values(L"Damaged 3\\Messages").at(L"MessageName0").IsString(L"a later copy"));
    CHECK(!scratch.HasSection(L"Damaged 4\\Damaged 1"));
    CHECK(scratch.Values(L"Configuration").at(L"Number of messages").IsDword(0));
}

TEST_CASE(ARepairThatCannotKeepACopyRefusesToWrite) {
    ScratchKey scratch(kKey);
    scratch.SetDword(L"Configuration", L"Number of messages", 150);
    // The sections could still be written; only the copy beside them cannot be made.
    scratch.MakeReadOnly(false);
    RegistryProfileStore store(HKEY_CURRENT_USER, scratch.Path());
    CHECK_EQ(store.GetProfileInt("Configuration", "Number of messages", -1), 150);
    store.PreserveBeforeRepair();
    CHECK(!store.WriteProfileInt("Configuration", "Number of messages", 0));
    CHECK(!store.Commit());
    CHECK(scratch.Values(L"Configuration").at(L"Number of messages").IsDword(150));
}

// Messages may be read but not written, and one message was damaged by hand: every start drops it, cannot save and
// says so, and the store stays as it was, the intact messages and the count included, start after start. The
// first start keeps a copy of what it would drop; the later ones find that copy holds the same and make none.
TEST_CASE(ASaveThatCannotBeCompletedLeavesTheStoreAsItWasStartAfterStart) {
    ScratchKey scratch(kKey);
    StoreSettings(scratch, 4);
    for (int i = 0; i < 4; ++i)
        StoreMessage(scratch, i, L"Message " + std::to_wstring(i));
    scratch.Remove(L"Messages", L"MessageHour1");
    scratch.MakeSectionReadOnly(L"Messages");
    const auto messages = scratch.Values(L"Messages");
    const auto configuration = scratch.Values(L"Configuration");
    for (int start = 1; start <= 4; ++start) {
        ROW("start " + std::to_string(start));
        CHECK_EQ(Start(scratch), std::string("One or more messages are corrupt.\nMessages have been deleted!\n"
                                             "Error in saving message data.\n"));
        CHECK(scratch.Values(L"Messages") == messages);
        CHECK(scratch.Values(L"Configuration") == configuration);
        CHECK(scratch.Values(L"Configuration").at(L"Number of messages").IsDword(4));
        CHECK(!scratch.HasSection(L"Journal"));
    }
    CHECK_EQ(RescueCopies(scratch), std::wstring(L"Damaged 1\n"));
    CHECK(scratch.Values(L"Damaged 1\\Messages") == messages);
}

// Copies numbered up to the end of 32 bits, ten of them: the new one is numbered beyond, and the oldest goes.
TEST_CASE(RescueCopiesAreBoundedAndTheirNumbersNeverWrap) {
    ScratchKey scratch(kKey);
    StoreSettings(scratch, 150);
    for (unsigned long long n = 4294967286ull; n <= 4294967295ull; ++n)
        scratch.SetDword(L"Damaged " + std::to_wstring(n) + L"\\Configuration", L"Number of messages", 200);
    CHECK_EQ(Start(scratch),
             std::string("Number of saved messages is too large!\nMessage number will be reset to zero!\n"));
    std::wstring expected;
    for (unsigned long long n = 4294967287ull; n <= 4294967296ull; ++n)
        expected += L"Damaged " + std::to_wstring(n) + L"\n";
    CHECK_EQ(RescueCopies(scratch), expected);
    CHECK(scratch.Values(L"Damaged 4294967296\\Configuration").at(L"Number of messages").IsDword(150));
    CHECK(scratch.Values(L"Configuration").at(L"Number of messages").IsDword(0));
}

// What a save killed half-way left: a complete journal is finished by the next start, an incomplete one dropped.
TEST_CASE(AStartFinishesACompleteJournalAndDropsAnIncompleteOne) {
    for (const bool complete : {true, false}) {
        ROW(complete ? "complete" : "incomplete");
        ScratchKey scratch(kKey);
        StoreSettings(scratch, 1);
        StoreMessage(scratch, 0, L"Tea");
        StoreMessage(scratch, 1, L"Left over");
        scratch.SetString(L"Journal", L"Save",
                          L"Configuration\tNumber of messages\ti\t2\nMessages\tMessageName1\ts\tPost\n");
        if (complete)
            scratch.SetDword(L"Journal", L"Complete", 2);
        CHECK_EQ(Start(scratch), std::string());
        CHECK(!scratch.HasSection(L"Journal"));
        CHECK(scratch.Values(L"Configuration").at(L"Number of messages").IsDword(complete ? 2 : 1));
        CHECK(scratch.Values(L"Messages").at(L"MessageName1").IsString(complete ? L"Post" : L"Left over"));
    }
}

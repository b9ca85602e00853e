// The registry store on its own: value types and names, keys made on first access, values of the wrong type,
// texts in any script, hand-edited strings, refused writes, and the copy kept before a repair.

#include "RegistryProfileStore.h"
#include "ScratchKey.h"
#include "TestHarness.h"
#include "Utf8.h"

#include <cstdint>

namespace {
const std::wstring kKey = L"NudgepostTest-RegistryStore";
}

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

// Two thousand stores made of random, missing, garbage, huge and negative values, loaded as the program loads its
// store: in memory, and as INI files through the real QSettings store, some of them mangled after writing. Every
// load must keep the table's rules, and what a load leaves must save and load again to the same table without a
// single message.

#include "MemoryProfileStore.h"
#include "ReliabilityKit.h"
#include "StoreFixtures.h"
#include "SettingsProfileStore.h"

#include <QtTest>

#include <climits>
#include <optional>
#include <random>

using namespace ProfileNames;
using Reliability::ReadAll;
using Reliability::WriteAll;

namespace {
using Value = MemoryProfileStore::Value;

struct StoredValue {
    const char* section;
    std::string key;
    Value value;
};

// One generated store. A clean one holds nothing but valid values; it must load whole and in silence.
struct GeneratedStore {
    std::vector<StoredValue> values;
    bool clean = false;
    std::vector<MessageEntry> cleanEntries;
    int cleanOptions[4] = {};
};

class Dice {
public:
    explicit Dice(std::uint32_t seed) : m_rng(seed) {}

    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_rng); }
    bool Chance(int percent) { return Pick(1, 100) <= percent; }
    template <class T> const T& OneOf(const std::vector<T>& choices) {
        return choices[static_cast<std::size_t>(Pick(0, static_cast<int>(choices.size()) - 1))];
    }
    std::mt19937& Engine() { return m_rng; }

    // Printable text with the characters an INI file has to escape or quote, and some that are not ASCII.
    std::string CleanText(std::size_t maxBytes) {
        // clang-format off
        static const std::vector<std::string> pieces = {
            "a", "Z", "7", " ", ",", ";", "=", "\"", "\\", "%", "@", "[", "]", "#", "\t",
            "a\r\nb", "\xC3\xA4", "\xE2\x82\xAC", "\xF0\x9F\x94\x94", "x",
        };
        // clang-format on
        std::string text;
        // Mostly short, as real names and texts are; a quarter run up to the field's size.
        const int longest = Chance(25) ? static_cast<int>(maxBytes) : std::min(40, static_cast<int>(maxBytes));
        const std::size_t length = static_cast<std::size_t>(Pick(1, longest));
        while (true) {
            const std::string& piece = pieces[m_rng() % pieces.size()];
            if (text.size() + piece.size() > length)
                break;
            text += piece;
        }
        return text.empty() ? "t" : text;
    }

    Value JunkNumber() {
        // clang-format off
        static const std::vector<std::string> texts = {
            "", " ", "abc", "12abc", " 7 ", "+5", "+-5", "--2", "0x1F", "1.5", "1e3", "99999999999",
            "-2147483649", "2147483648", "7 8", "\t-3\t", "\xD9\xA1\xD9\xA2", "5\n6", "-", "+",
        };
        // clang-format on
        switch (Pick(0, 5)) {
        case 0:
            return INT_MIN;
        case 1:
            return INT_MAX;
        case 2:
            return -1;
        case 3:
            return std::uniform_int_distribution<int>(INT_MIN, INT_MAX)(m_rng);
        default:
            return OneOf(texts);
        }
    }

    Value JunkFlag() {
        // clang-format off
        static const std::vector<Value> flags = {
            2, -1, 7, INT_MAX, INT_MIN,
            std::string("1"), std::string(" 0 "), std::string("yes"), std::string(""), std::string("1x"),
        };
        // clang-format on
        return OneOf(flags);
    }

    Value JunkText(std::size_t fieldSize, const std::vector<std::string>& earlierNames) {
        switch (Pick(0, 11)) {
        case 0:
            return std::string();
        case 1:
            return std::string("\0hidden", 7);
        case 2:
            return std::string("before\0after", 12);
        case 3:
            return std::string(static_cast<std::size_t>(Pick(2000, 6000)), 'H');
        case 4:
            return std::string(fieldSize - static_cast<std::size_t>(Pick(0, 2)) + 1, 'L');
        // A two- or three-byte character straddling the last byte of the field.
        case 5:
            return std::string(fieldSize - 2, 'u') + "\xC3\xA9";
        case 6:
            return std::string(fieldSize - 3, 'u') + "\xE2\x82\xAC" + "tail";
        case 7:
            return std::string("bad \xFF\xFE utf \x80 8");
        case 8:
            return earlierNames.empty() ? std::string("dup") : OneOf(earlierNames);
        case 9:
            return Pick(-5, 5);
        case 10:
            return std::string("   ");
        default:
            return std::string("@Variant(\\0\\0\\0\\x7f)") + CleanText(20);
        }
    }

private:
    std::mt19937 m_rng;
};

GeneratedStore Generate(Dice& dice, bool clean) {
    GeneratedStore g;
    g.clean = clean;
    auto put = [&g](const char* section, std::string key, Value value) {
        g.values.push_back({section, std::move(key), std::move(value)});
    };
    // Usually a value that loads, sometimes junk, sometimes nothing at all.
    auto maybe = [&](const char* section, std::string key, Value good, Value junk) {
        if (g.clean || dice.Chance(88))
            put(section, std::move(key), std::move(good));
        else if (dice.Chance(60))
            put(section, std::move(key), std::move(junk));
    };

    int entries = 0;
    if (g.clean) {
        entries = dice.Pick(0, MESSAGE_TABLE_CAPACITY);
        put(kConfiguration, kNumberOfMessages, entries);
    } else {
        entries = dice.Pick(0, MESSAGE_TABLE_CAPACITY + 5);
        const int kind = dice.Pick(0, 9);
        if (kind <= 4)
            put(kConfiguration, kNumberOfMessages, std::min(entries, MESSAGE_TABLE_CAPACITY));
        else if (kind == 5)
            put(kConfiguration, kNumberOfMessages, dice.Pick(MESSAGE_TABLE_CAPACITY + 1, INT_MAX));
        else if (kind == 6)
            put(kConfiguration, kNumberOfMessages, dice.Pick(INT_MIN, -1));
        else if (kind == 7)
            put(kConfiguration, kNumberOfMessages, dice.JunkNumber());
        else if (kind == 8)
            put(kConfiguration, kNumberOfMessages, std::string(" ") + std::to_string(entries) + " ");
    }
    const char* options[] = {kActivatedMessages, kTooltips, kShowWarnings, kShowMinimized};
    for (int k = 0; k < 4; ++k) {
        g.cleanOptions[k] = dice.Pick(0, 1);
        maybe(kConfiguration, options[k], g.cleanOptions[k], dice.JunkFlag());
    }

    std::vector<std::string> names;
    for (int i = 0; i < entries; ++i) {
        MessageEntry e{};
        // Unique before any cut: the index leads.
        const std::string name = "Entry " + std::to_string(i) + " " + dice.CleanText(MESSAGE_NAME_SIZE - 12);
        const std::string text = dice.CleanText(MESSAGE_TEXT_SIZE - 1);
        std::snprintf(e.m_szName, sizeof e.m_szName, "%s", name.c_str());
        std::snprintf(e.m_szText, sizeof e.m_szText, "%s", text.c_str());
        e.m_nDay = dice.Pick(1, 31);
        e.m_nMonth = dice.Pick(1, 12);
        e.m_nYear = dice.Pick(1970, 2100);
        e.m_nMinute = dice.Pick(0, 59);
        e.m_nHour = dice.Pick(0, 23);
        e.m_nShowDays = dice.Pick(0, 1000);
        e.m_nRepeatMinutes = dice.Pick(0, 59);
        e.m_bActive = dice.Pick(0, 1);
        e.m_bEveryDay = dice.Pick(0, 1);
        names.push_back(name);

        maybe(kMessages, Numbered(kName, i), name, dice.JunkText(MESSAGE_NAME_SIZE, names));
        maybe(kMessages, Numbered(kText, i), text, dice.JunkText(MESSAGE_TEXT_SIZE, names));
        const std::pair<const char*, int> numbers[] = {{kDay, e.m_nDay},
                                                       {kMonth, e.m_nMonth},
                                                       {kYear, e.m_nYear},
                                                       {kMinute, e.m_nMinute},
                                                       {kHour, e.m_nHour},
                                                       {kShowTime, e.m_nShowDays},
                                                       {kShowEveryTime, e.m_nRepeatMinutes}};
        for (const auto& [prefix, number] : numbers)
            maybe(kMessages, Numbered(prefix, i), number, dice.JunkNumber());
        maybe(kMessages, Numbered(kActive, i), e.m_bActive, dice.JunkFlag());
        maybe(kMessages, Numbered(kEveryDay, i), e.m_bEveryDay, dice.JunkFlag());
        g.cleanEntries.push_back(e);
    }
    // Values beyond the count, which a load must leave alone.
    if (!g.clean && dice.Chance(20))
        put(kMessages, Numbered(kName, entries + dice.Pick(0, 3)), dice.JunkText(MESSAGE_NAME_SIZE, names));
    std::shuffle(g.values.begin(), g.values.end(), dice.Engine());
    return g;
}

// Raw lines that only a hand edit or a damaged disk would put into the file.
QByteArray Mangle(QByteArray bytes, Dice& dice) {
    static const std::vector<QByteArray> lines = {
        "[Messages]\nMessageName0=raw, list, of, parts\n",
        "[Messages]\nMessageDay0=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)\n",
        "[Configuration]\nNumber of messages=100\n",
        "[Configuration]\nNumber%20of%20messages=\"  3  \"\n",
        "a line without an equals sign\n",
        "[Configuration\n",
        "=no key\n",
        "[Messages]\nMessageText1=\"unterminated\n",
        QByteArray("\xFF\xFE\0\n", 4),
        "[Messages]\nMessageYear2=@ByteArray(2026)\n",
        "[Configuration]\nTooltips=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\aQString)\n",
        "[Messages]\nMessageName1=@Invalid()\n",
        "[Messages]\nMessageHour0=\\x41\\u20AC\n",
    };
    switch (dice.Pick(0, 3)) {
    case 0:
        bytes.truncate(dice.Pick(0, static_cast<int>(bytes.size())));
        break;
    case 1:
        for (int flips = dice.Pick(1, 5); flips > 0 && !bytes.isEmpty(); --flips)
            bytes[dice.Pick(0, static_cast<int>(bytes.size()) - 1)] = static_cast<char>(dice.Pick(0, 255));
        break;
    case 2:
        bytes.append(dice.OneOf(lines));
        break;
    default:
        bytes.prepend(dice.OneOf(lines));
        break;
    }
    return bytes;
}

void RemoveStoreFiles(const QString& path) {
    for (const char* suffix : {"", ".lock"})
        QFile::remove(path + QLatin1String(suffix));
    // The copies a damaged store was set aside to, "<store>.damaged-1" and on.
    const QFileInfo store(path);
    QDir folder = store.absoluteDir();
    for (const QString& copy : folder.entryList({store.fileName() + QStringLiteral(".damaged-*")}, QDir::Files))
        folder.remove(copy);
}

// The rules every load keeps, and, for a clean store, that nothing was lost or said.
std::string JudgeFirstLoad(const GeneratedStore& g, const Reliability::LoadedState& first) {
    const std::string violation = Reliability::TableViolation(*first.state);
    if (!violation.empty())
        return violation;
    if (first.state->GlobalError())
        return "a load into a writable store ended in the failed state";
    if (!g.clean)
        return {};
    if (!first.prompts.boxes.empty())
        return "a clean store gave the message: " + first.FirstError();
    const ReminderModel& s = *first.state;
    if (s.Count() != static_cast<int>(g.cleanEntries.size()))
        return "a clean store lost entries: " + std::to_string(s.Count()) + " of " +
               std::to_string(g.cleanEntries.size());
    for (int i = 0; i < s.Count(); ++i)
        if (!Reliability::SameStoredFields(s.Entry(i), g.cleanEntries[static_cast<std::size_t>(i)]))
            return "a clean store's entry " + std::to_string(i) + " changed on loading";
    // With no entries the activation flag is not read; the others always are.
    const int options[] = {s.Count() ? s.IsOn(Option::MessagesActivated) : g.cleanOptions[0], s.IsOn(Option::Tooltips),
                           s.IsOn(Option::ShowWarnings), s.IsOn(Option::ShowMinimized)};
    for (int k = 0; k < 4; ++k)
        if (options[k] != g.cleanOptions[k])
            return "a clean store's option " + std::to_string(k) + " changed on loading";
    return {};
}

std::string JudgeSecondLoad(const Reliability::LoadedState& first, const Reliability::LoadedState& second) {
    if (!second.prompts.boxes.empty())
        return "reloading what was saved gave the message: " + second.FirstError();
    const std::string difference = Reliability::TableDifference(*first.state, *second.state);
    return difference.empty() ? std::string() : "load, save, load changed the table: " + difference;
}
} // namespace

class tst_RandomStores : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void loadSaveLoad_data();
    void loadSaveLoad();

private:
    QTemporaryDir m_dir;
};

void tst_RandomStores::initTestCase() {
    QVERIFY(m_dir.isValid());
}

void tst_RandomStores::loadSaveLoad_data() {
    QTest::addColumn<unsigned>("seed");
    QTest::addColumn<int>("stores");
    QTest::addColumn<bool>("throughFile");

    QTest::newRow("memory store") << 4242u << 1800 << false;
    QTest::newRow("INI file through QSettings") << 777u << 200 << true;
}

void tst_RandomStores::loadSaveLoad() {
    QFETCH(unsigned, seed);
    QFETCH(int, stores);
    QFETCH(bool, throughFile);

    Dice dice(seed);
    int cleanStores = 0;
    int keptEntries = 0;
    for (int n = 0; n < stores; ++n) {
        // Every eighth store is clean.
        const GeneratedStore g = Generate(dice, n % 8 == 0);
        cleanStores += g.clean ? 1 : 0;
        const std::string where = " (seed " + std::to_string(seed) + ", store " + std::to_string(n) + ")";
        std::string failure;

        if (!throughFile) {
            MemoryProfileStore store;
            for (const StoredValue& v : g.values)
                store.Set(v.section, v.key, v.value);
            Reliability::LoadedState first(store);
            failure = JudgeFirstLoad(g, first);
            QVERIFY2(failure.empty(), (failure + where).c_str());
            QVERIFY2(first.state->SaveAll(), ("saving a loaded table failed" + where).c_str());
            MemoryProfileStore reopened = store;
            Reliability::LoadedState second(reopened);
            failure = JudgeSecondLoad(first, second);
            keptEntries += first.state->Count();
        } else {
            const QString generated = m_dir.filePath(QStringLiteral("generated-%1.conf").arg(n));
            {
                QSettings writer(generated, QSettings::IniFormat);
                for (const StoredValue& v : g.values) {
                    const QString key =
                        QString::fromLatin1(v.section) + QLatin1Char('/') + QString::fromStdString(v.key);
                    if (const int* number = std::get_if<int>(&v.value))
                        writer.setValue(key, *number);
                    else
                        writer.setValue(key, QString::fromStdString(std::get<std::string>(v.value)));
                }
            }
            QByteArray bytes = ReadAll(generated);
            RemoveStoreFiles(generated);
            if (!g.clean && dice.Chance(50))
                bytes = Mangle(bytes, dice);
            // Fresh names, so that QSettings parses every file anew.
            const QString path = m_dir.filePath(QStringLiteral("store-%1.conf").arg(n));
            const QString again = m_dir.filePath(QStringLiteral("reopened-%1.conf").arg(n));
            QVERIFY(WriteAll(path, bytes));
            {
                SettingsProfileStore store(path);
                Reliability::LoadedState first(store);
                failure = JudgeFirstLoad(g, first);
                QVERIFY2(failure.empty(), (failure + where).c_str());
                QVERIFY2(first.state->SaveAll(), ("saving a loaded table failed" + where).c_str());
                QVERIFY(QFile::copy(path, again));
                SettingsProfileStore reopened(again);
                Reliability::LoadedState second(reopened);
                failure = JudgeSecondLoad(first, second);
                keptEntries += first.state->Count();
            }
            RemoveStoreFiles(path);
            RemoveStoreFiles(again);
        }
        QVERIFY2(failure.empty(), (failure + where).c_str());
    }
    // The dice must have produced both kinds of store and tables worth checking.
    QVERIFY(cleanStores > 0);
    QVERIFY(keptEntries > stores * 10);
}

QTEST_GUILESS_MAIN(tst_RandomStores)
#include "tst_randomstores.moc"

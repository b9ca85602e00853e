// The checks an edited message must pass before it replaces or joins the table: the field rules, the distinct
// name, and the error box the commands show for a broken rule.

#include "ExpectedTemplates.h"
#include "MainCommands.h"
#include "MemoryProfileStore.h"
#include "MessageValidation.h"
#include "RecordingView.h"
#include "ReminderModel.h"
#include "TestSupport.h"
#include "TextFit.h"

#include <QtTest>

#include <cstring>
#include <memory>
#include <optional>
#include <vector>

Q_DECLARE_METATYPE(MessageEntry)

namespace {
// An entry every rule accepts; each row changes only what it is about.
struct Make {
    Make() {
        CopyFitted(entry.m_szName, sizeof entry.m_szName, "Dentist");
        CopyFitted(entry.m_szText, sizeof entry.m_szText, "Call the dentist.");
        entry.m_nDay = 15;
        entry.m_nMonth = 6;
        entry.m_nYear = 2024;
        entry.m_nMinute = 30;
        entry.m_nHour = 9;
        entry.m_nShowDays = 0;
        entry.m_nRepeatMinutes = 0;
        entry.m_bActive = 1;
        entry.m_bPending = 1;
    }
    Make& Name(const char* name) {
        CopyFitted(entry.m_szName, sizeof entry.m_szName, name);
        return *this;
    }
    Make& Text(const char* text) {
        CopyFitted(entry.m_szText, sizeof entry.m_szText, text);
        return *this;
    }
    Make& Date(int day, int month, int year) {
        entry.m_nDay = day;
        entry.m_nMonth = month;
        entry.m_nYear = year;
        return *this;
    }
    Make& Day(int value) { return Set(&MessageEntry::m_nDay, value); }
    Make& Month(int value) { return Set(&MessageEntry::m_nMonth, value); }
    Make& Year(int value) { return Set(&MessageEntry::m_nYear, value); }
    Make& Minute(int value) { return Set(&MessageEntry::m_nMinute, value); }
    Make& Hour(int value) { return Set(&MessageEntry::m_nHour, value); }
    Make& ShowDays(int value) { return Set(&MessageEntry::m_nShowDays, value); }
    Make& Repeat(int value) { return Set(&MessageEntry::m_nRepeatMinutes, value); }
    Make& EveryDay() { return Set(&MessageEntry::m_bEveryDay, 1); }
    Make& Set(std::int32_t MessageEntry::*field, int value) {
        entry.*field = value;
        return *this;
    }
    operator MessageEntry() const { return entry; }

    MessageEntry entry{};
};

const QString kAccepted;
const QString kNoName = QString::fromUtf8(Expected::kNoName);
const QString kNoText = QString::fromUtf8(Expected::kNoText);
const QString kDay = QString::fromUtf8(Expected::kDayRange);
const QString kMonth = QString::fromUtf8(Expected::kMonthRange);
const QString kYear = QString::fromUtf8(Expected::kYearRange);
const QString kMinute = QString::fromUtf8(Expected::kMinuteRange);
const QString kHour = QString::fromUtf8(Expected::kHourRange);
const QString kShowDays = QString::fromUtf8(Expected::kShowDaysRange);
const QString kRepeat = QString::fromUtf8(Expected::kRepeatRange);
const QString kDayOfMonth = QString::fromUtf8(Expected::kDayOfMonth);

// What a check answered, readable in a failure report.
QString Describe(const std::optional<std::string>& error) {
    return error ? QString::fromStdString(*error) : QStringLiteral("<accepted>");
}

std::optional<std::string> ExpectedError(const QString& text) {
    if (text.isEmpty())
        return std::nullopt;
    return text.toStdString();
}

struct StateHarness {
    StateHarness() : clock(1'700'000'000) {
        state = std::make_unique<ReminderModel>(ReminderServices{&store, &prompts, clock.AsClock(), {}});
        state->AllocateTable();
    }
    void Add(const QByteArray& name) {
        MessageEntry entry = state->MakeNewEntry();
        CopyFitted(entry.m_szName, sizeof entry.m_szName, std::string_view(name.constData(), name.size()));
        QVERIFY(state->AppendEntry(entry));
    }
    QByteArray TableBytes() const {
        if (state->Count() == 0)
            return {};
        return QByteArray(reinterpret_cast<const char*>(&state->Entry(0)),
                          qsizetype(sizeof(MessageEntry)) * state->Count());
    }
    MemoryProfileStore store;
    RecordingPrompts prompts;
    FakeClock clock;
    std::unique_ptr<ReminderModel> state;
    RecordingView view;
};
} // namespace

class TestValidation : public QObject {
    Q_OBJECT
private slots:
    void findValidationError_data();
    void findValidationError();
    void daysInMonth_data();
    void daysInMonth();
    void checkDistinctName_data();
    void checkDistinctName();
    void fieldRulesComeBeforeTheName();
    void validateMessageShowsOneBox_data();
    void validateMessageShowsOneBox();
};

void TestValidation::findValidationError_data() {
    QTest::addColumn<MessageEntry>("entry");
    QTest::addColumn<QString>("error");

    QTest::newRow("valid") << MessageEntry(Make()) << kAccepted;

    QTest::newRow("day 0") << MessageEntry(Make().Day(0)) << kDay;
    QTest::newRow("day 1") << MessageEntry(Make().Day(1)) << kAccepted;
    QTest::newRow("day 31 in January") << MessageEntry(Make().Date(31, 1, 2024)) << kAccepted;
    QTest::newRow("day 32") << MessageEntry(Make().Date(32, 1, 2024)) << kDay;
    QTest::newRow("month 0") << MessageEntry(Make().Month(0)) << kMonth;
    QTest::newRow("month 1") << MessageEntry(Make().Month(1)) << kAccepted;
    QTest::newRow("month 12") << MessageEntry(Make().Month(12)) << kAccepted;
    QTest::newRow("month 13") << MessageEntry(Make().Month(13)) << kMonth;
    QTest::newRow("day 31 with month 13") << MessageEntry(Make().Date(31, 13, 2024)) << kMonth;
    QTest::newRow("year 1995") << MessageEntry(Make().Year(1995)) << kYear;
    QTest::newRow("year 1996") << MessageEntry(Make().Year(1996)) << kAccepted;
    QTest::newRow("year 9999") << MessageEntry(Make().Year(9999)) << kAccepted;
    QTest::newRow("year 10000") << MessageEntry(Make().Year(10000)) << kYear;
    QTest::newRow("minute 0 hour 0") << MessageEntry(Make().Minute(0).Hour(0)) << kAccepted;
    QTest::newRow("minute 59 hour 23") << MessageEntry(Make().Minute(59).Hour(23)) << kAccepted;
    QTest::newRow("minute 60") << MessageEntry(Make().Minute(60)) << kMinute;
    QTest::newRow("hour 24") << MessageEntry(Make().Hour(24)) << kHour;
    QTest::newRow("minute 60 with hour 24") << MessageEntry(Make().Minute(60).Hour(24)) << kMinute;
    QTest::newRow("show days 366") << MessageEntry(Make().ShowDays(366)) << kAccepted;
    QTest::newRow("show days 367") << MessageEntry(Make().ShowDays(367)) << kShowDays;
    QTest::newRow("repeat 59") << MessageEntry(Make().Repeat(59)) << kAccepted;
    QTest::newRow("repeat 60") << MessageEntry(Make().Repeat(60)) << kRepeat;

    // A comparison made unsigned would let every one of these through.
    QTest::newRow("day -1") << MessageEntry(Make().Day(-1)) << kDay;
    QTest::newRow("month -1") << MessageEntry(Make().Month(-1)) << kMonth;
    QTest::newRow("year -1") << MessageEntry(Make().Year(-1)) << kYear;
    QTest::newRow("minute -1") << MessageEntry(Make().Minute(-1)) << kMinute;
    QTest::newRow("hour -1") << MessageEntry(Make().Hour(-1)) << kHour;
    QTest::newRow("show days -1") << MessageEntry(Make().ShowDays(-1)) << kShowDays;
    QTest::newRow("repeat -1") << MessageEntry(Make().Repeat(-1)) << kRepeat;
    QTest::newRow("month smallest int") << MessageEntry(Make().Month(INT_MIN)) << kMonth;
    QTest::newRow("year largest int") << MessageEntry(Make().Year(INT_MAX)) << kYear;

    QTest::newRow("29 February 1996") << MessageEntry(Make().Date(29, 2, 1996)) << kAccepted;
    QTest::newRow("29 February 2000") << MessageEntry(Make().Date(29, 2, 2000)) << kAccepted;
    QTest::newRow("29 February 1997") << MessageEntry(Make().Date(29, 2, 1997)) << kDayOfMonth;
    QTest::newRow("29 February 2100") << MessageEntry(Make().Date(29, 2, 2100)) << kDayOfMonth;
    QTest::newRow("28 February 2100") << MessageEntry(Make().Date(28, 2, 2100)) << kAccepted;
    QTest::newRow("30 February 2000") << MessageEntry(Make().Date(30, 2, 2000)) << kDayOfMonth;
    QTest::newRow("31 April") << MessageEntry(Make().Date(31, 4, 2024)) << kDayOfMonth;
    QTest::newRow("31 June") << MessageEntry(Make().Date(31, 6, 2024)) << kDayOfMonth;
    QTest::newRow("31 September") << MessageEntry(Make().Date(31, 9, 2024)) << kDayOfMonth;
    QTest::newRow("31 November") << MessageEntry(Make().Date(31, 11, 2024)) << kDayOfMonth;
    QTest::newRow("30 November") << MessageEntry(Make().Date(30, 11, 2024)) << kAccepted;
    QTest::newRow("31 December 9999") << MessageEntry(Make().Date(31, 12, 9999)) << kAccepted;

    QTest::newRow("empty name") << MessageEntry(Make().Name("")) << kNoName;
    QTest::newRow("empty text") << MessageEntry(Make().Text("")) << kNoText;
    QTest::newRow("empty name before empty text") << MessageEntry(Make().Name("").Text("")) << kNoName;
    QTest::newRow("empty text before bad day") << MessageEntry(Make().Text("").Day(0)) << kNoText;
    QTest::newRow("name of one blank") << MessageEntry(Make().Name(" ")) << kAccepted;
    QTest::newRow("text of one blank") << MessageEntry(Make().Text(" ")) << kAccepted;

    // Each rule comes before the next one, whatever else is wrong.
    QTest::newRow("day before month") << MessageEntry(Make().Date(0, 0, 2024)) << kDay;
    QTest::newRow("month before year") << MessageEntry(Make().Date(1, 0, 1)) << kMonth;
    QTest::newRow("year before minute") << MessageEntry(Make().Year(1995).Minute(60)) << kYear;
    QTest::newRow("hour before show days") << MessageEntry(Make().Hour(24).ShowDays(367)) << kHour;
    QTest::newRow("show days before repeat") << MessageEntry(Make().ShowDays(367).Repeat(60)) << kShowDays;
    QTest::newRow("repeat before day of month") << MessageEntry(Make().Date(31, 4, 2024).Repeat(60)) << kRepeat;

    QTest::newRow("every day with 30 February") << MessageEntry(Make().Date(30, 2, 2024).EveryDay()) << kDayOfMonth;
    QTest::newRow("every day with day 0") << MessageEntry(Make().Day(0).EveryDay()) << kDay;
    QTest::newRow("every day with year 0") << MessageEntry(Make().Year(0).EveryDay()) << kYear;
    QTest::newRow("every day valid") << MessageEntry(Make().EveryDay()) << kAccepted;
}

void TestValidation::findValidationError() {
    QFETCH(MessageEntry, entry);
    QFETCH(QString, error);
    QCOMPARE(Describe(FindValidationError(entry)), Describe(ExpectedError(error)));
}

void TestValidation::daysInMonth_data() {
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("days");
    QTest::addColumn<bool>("leap");

    QTest::newRow("January 2023") << 1 << 2023 << 31 << false;
    QTest::newRow("February 2023") << 2 << 2023 << 28 << false;
    QTest::newRow("February 2024") << 2 << 2024 << 29 << true;
    QTest::newRow("February 1900") << 2 << 1900 << 28 << false;
    QTest::newRow("February 2000") << 2 << 2000 << 29 << true;
    QTest::newRow("February 2100") << 2 << 2100 << 28 << false;
    QTest::newRow("February 2400") << 2 << 2400 << 29 << true;
    QTest::newRow("March 2023") << 3 << 2023 << 31 << false;
    QTest::newRow("April 2024") << 4 << 2024 << 30 << true;
    QTest::newRow("May 2023") << 5 << 2023 << 31 << false;
    QTest::newRow("June 2023") << 6 << 2023 << 30 << false;
    QTest::newRow("July 2023") << 7 << 2023 << 31 << false;
    QTest::newRow("August 2023") << 8 << 2023 << 31 << false;
    QTest::newRow("September 2023") << 9 << 2023 << 30 << false;
    QTest::newRow("October 2023") << 10 << 2023 << 31 << false;
    QTest::newRow("November 2023") << 11 << 2023 << 30 << false;
    QTest::newRow("December 2023") << 12 << 2023 << 31 << false;
}

void TestValidation::daysInMonth() {
    QFETCH(int, month);
    QFETCH(int, year);
    QFETCH(int, days);
    QFETCH(bool, leap);
    QCOMPARE(DaysInMonth(month, year), days);
    QCOMPARE(IsLeapYear(year), leap);
}

void TestValidation::checkDistinctName_data() {
    QTest::addColumn<QByteArrayList>("table");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<int>("skip");
    QTest::addColumn<bool>("distinct");

    QTest::newRow("empty table") << QByteArrayList{} << QByteArray("Message 1") << -1 << true;
    QTest::newRow("new name") << QByteArrayList{"Message 1", "Message 2"} << QByteArray("Message 3") << -1 << true;
    QTest::newRow("same name") << QByteArrayList{"Message 1", "Message 2"} << QByteArray("Message 2") << -1
                               << false;
    QTest::newRow("differs in case") << QByteArrayList{"Message 1"} << QByteArray("message 1") << -1 << true;
    QTest::newRow("trailing blank") << QByteArrayList{"Message 1"} << QByteArray("Message 1 ") << -1 << true;
    QTest::newRow("trailing blank in table") << QByteArrayList{"Message 1 "} << QByteArray("Message 1") << -1 << true;
    QTest::newRow("leading blank") << QByteArrayList{"Message 1"} << QByteArray(" Message 1") << -1 << true;
    QTest::newRow("prefix of a name") << QByteArrayList{"Message 10"} << QByteArray("Message 1") << -1 << true;
    QTest::newRow("composed and decomposed accent")
        << QByteArrayList{"Caf\xC3\xA9"} << QByteArray("Cafe\xCC\x81") << -1 << true;
    QTest::newRow("same accented name") << QByteArrayList{"Caf\xC3\xA9"} << QByteArray("Caf\xC3\xA9") << -1 << false;
    QTest::newRow("keeps its own name") << QByteArrayList{"Message 1", "Message 2"} << QByteArray("Message 2") << 1
                                        << true;
    QTest::newRow("skipping another entry") << QByteArrayList{"Message 1", "Message 2"} << QByteArray("Message 2")
                                            << 0 << false;
    QTest::newRow("two matches") << QByteArrayList{"Same", "Other", "Same"} << QByteArray("Same") << -1 << false;
    QTest::newRow("two matches, one skipped") << QByteArrayList{"Same", "Other", "Same"} << QByteArray("Same") << 0
                                              << false;
    QTest::newRow("last entry matches") << QByteArrayList{"A", "B", "C"} << QByteArray("C") << -1 << false;
}

void TestValidation::checkDistinctName() {
    QFETCH(QByteArrayList, table);
    QFETCH(QByteArray, name);
    QFETCH(int, skip);
    QFETCH(bool, distinct);

    StateHarness harness;
    for (const QByteArray& existing : table)
        harness.Add(existing);
    const QByteArray before = harness.TableBytes();
    const MessageEntry candidate = Make().Name(name.constData());

    MainCommands commands(*harness.state, harness.view);
    QCOMPARE(commands.ValidateMessage(candidate, skip), distinct);

    QCOMPARE(harness.state->Count(), int(table.size()));
    QVERIFY(harness.TableBytes() == before);
    QCOMPARE(harness.state->GlobalError(), 0);
    if (distinct) {
        QVERIFY(harness.prompts.events.empty());
        return;
    }
    QCOMPARE(harness.prompts.boxes.size(), std::size_t{1});
    QCOMPARE(harness.prompts.boxes[0].kind, std::string("error"));
    QCOMPARE(harness.prompts.boxes[0].text, std::string("Double message name!\nYou have to enter a distinct message name."));
    QCOMPARE(harness.prompts.boxes[0].caption, std::string("Error"));
    QCOMPARE(harness.prompts.beeps, 1);
}

// A taken name and a broken field rule together report the field, as the name check is the last.
void TestValidation::fieldRulesComeBeforeTheName() {
    StateHarness harness;
    harness.Add("Dentist");
    QCOMPARE(Describe(FindValidationError(Make(), *harness.state, -1)),
             QStringLiteral("Double message name!\nYou have to enter a distinct message name."));
    QCOMPARE(Describe(FindValidationError(Make().Hour(24), *harness.state, -1)), Describe(ExpectedError(kHour)));
}

void TestValidation::validateMessageShowsOneBox_data() {
    QTest::addColumn<MessageEntry>("entry");
    QTest::addColumn<QString>("error");

    QTest::newRow("valid") << MessageEntry(Make()) << kAccepted;
    QTest::newRow("empty name and text") << MessageEntry(Make().Name("").Text("")) << kNoName;
    QTest::newRow("minute 60 with hour 24") << MessageEntry(Make().Minute(60).Hour(24)) << kMinute;
    QTest::newRow("31 November") << MessageEntry(Make().Date(31, 11, 2024)) << kDayOfMonth;
    QTest::newRow("every day with 29 February 2100")
        << MessageEntry(Make().Date(29, 2, 2100).EveryDay()) << kDayOfMonth;
}

void TestValidation::validateMessageShowsOneBox() {
    QFETCH(MessageEntry, entry);
    QFETCH(QString, error);

    MemoryProfileStore store;
    RecordingPrompts prompts;
    FakeClock clock(1'700'000'000);
    ReminderModel model(ReminderServices{&store, &prompts, clock.AsClock(), {}});
    model.AllocateTable();
    RecordingView view;
    MainCommands commands(model, view);

    QCOMPARE(commands.ValidateMessage(entry, -1), error.isEmpty());

    QCOMPARE(model.Count(), 0);
    if (error.isEmpty()) {
        QVERIFY(prompts.events.empty());
        return;
    }
    // The beep comes first, then the one box.
    const std::vector<std::string> expectedEvents{"beep", "error:" + *ExpectedError(error)};
    QCOMPARE(prompts.events, expectedEvents);
    QCOMPARE(prompts.boxes.size(), std::size_t{1});
    QCOMPARE(prompts.boxes[0].caption, std::string("Error"));
    QCOMPARE(prompts.beeps, 1);
}

QTEST_GUILESS_MAIN(TestValidation)
#include "tst_validation.moc"

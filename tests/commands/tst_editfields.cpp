// What the editor's fields and boxes write into the working copy, as both front-ends read them.

#include "EditFields.h"

#include <QtTest>

#include <cstring>

Q_DECLARE_METATYPE(FlagRefresh)

namespace {
MessageEntry Entry() {
    MessageEntry entry{};
    std::strcpy(entry.m_szName, "Lunch");
    std::strcpy(entry.m_szText, "line one\nline two"); // hand-edited: a bare line feed
    entry.m_nDay = 1;
    entry.m_nMonth = 2;
    entry.m_nYear = 2003;
    entry.m_nMinute = 4;
    entry.m_nHour = 5;
    entry.m_nShowDays = 6;
    entry.m_nRepeatMinutes = 7;
    entry.m_bActive = 1;
    return entry;
}

// Day, month, year, minute, hour, days to show, repeat.
QList<int> Numbers(const MessageEntry& entry) {
    return {entry.m_nDay,  entry.m_nMonth,    entry.m_nYear,         entry.m_nMinute,
            entry.m_nHour, entry.m_nShowDays, entry.m_nRepeatMinutes};
}
} // namespace

class TestEditFields : public QObject {
    Q_OBJECT
private slots:
    void readEditField_data();
    void readEditField();
    void flipEditFlag_data();
    void flipEditFlag();
};

void TestEditFields::readEditField_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QByteArray>("shown"); // the text field as it opened
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QList<int>>("numbers");

    const QByteArray shown("line one\r\nline two");
    const QList<int> numbers{1, 2, 2003, 4, 5, 6, 7};

    QTest::newRow("name") << 1009 << QByteArray("Dentist") << shown << QByteArray("Dentist")
                          << QByteArray("line one\nline two") << numbers;
    // 198 letters and a two-byte character make 200 bytes; the field keeps 199 and no half character.
    QTest::newRow("name cut before a character that does not fit whole")
        << 1009 << QByteArray(198, 'a') + "\xC3\xA9" << shown << QByteArray(198, 'a')
        << QByteArray("line one\nline two") << numbers;
    QTest::newRow("text changed") << 1010 << QByteArray("call back\r\n") << shown << QByteArray("Lunch")
                                  << QByteArray("call back\r\n") << numbers;
    QTest::newRow("text left as shown keeps its bare line feed")
        << 1010 << shown << shown << QByteArray("Lunch") << QByteArray("line one\nline two") << numbers;
    QTest::newRow("text emptied") << 1010 << QByteArray() << shown << QByteArray("Lunch") << QByteArray() << numbers;
    // Longer than a name may be: the text's own size applies.
    QTest::newRow("text of 997 letters and a three-byte character, cut after the letters")
        << 1010 << QByteArray(997, 'b') + "\xE2\x82\xAC" << shown << QByteArray("Lunch") << QByteArray(997, 'b')
        << numbers;
    QTest::newRow("day") << 1021 << QByteArray("15") << shown << QByteArray("Lunch") << QByteArray("line one\nline two")
                         << QList<int>{15, 2, 2003, 4, 5, 6, 7};
    QTest::newRow("month") << 1023 << QByteArray("12") << shown << QByteArray("Lunch")
                           << QByteArray("line one\nline two") << QList<int>{1, 12, 2003, 4, 5, 6, 7};
    QTest::newRow("year") << 1024 << QByteArray("2031") << shown << QByteArray("Lunch")
                          << QByteArray("line one\nline two") << QList<int>{1, 2, 2031, 4, 5, 6, 7};
    QTest::newRow("minute") << 1025 << QByteArray("59") << shown << QByteArray("Lunch")
                            << QByteArray("line one\nline two") << QList<int>{1, 2, 2003, 59, 5, 6, 7};
    QTest::newRow("hour") << 1022 << QByteArray("23") << shown << QByteArray("Lunch")
                          << QByteArray("line one\nline two") << QList<int>{1, 2, 2003, 4, 23, 6, 7};
    QTest::newRow("days to show") << 1026 << QByteArray("-3") << shown << QByteArray("Lunch")
                                  << QByteArray("line one\nline two") << QList<int>{1, 2, 2003, 4, 5, -3, 7};
    QTest::newRow("repeat") << 1028 << QByteArray("90") << shown << QByteArray("Lunch")
                            << QByteArray("line one\nline two") << QList<int>{1, 2, 2003, 4, 5, 6, 90};
    // A number that does not read as one is 0, not the number the field had.
    QTest::newRow("repeat not a number") << 1028 << QByteArray("9O") << shown << QByteArray("Lunch")
                                         << QByteArray("line one\nline two") << QList<int>{1, 2, 2003, 4, 5, 6, 0};
    QTest::newRow("Active box") << 1011 << QByteArray("9") << shown << QByteArray("Lunch")
                                << QByteArray("line one\nline two") << numbers;
    QTest::newRow("OK") << 1 << QByteArray("9") << shown << QByteArray("Lunch") << QByteArray("line one\nline two")
                        << numbers;
}

void TestEditFields::readEditField() {
    QFETCH(int, id);
    QFETCH(QByteArray, field);
    QFETCH(QByteArray, shown);

    MessageEntry entry = Entry();
    ReadEditField(entry, id, std::string_view(field.constData(), std::size_t(field.size())),
                  std::string_view(shown.constData(), std::size_t(shown.size())));

    QTEST(QByteArray(entry.m_szName), "name");
    QTEST(QByteArray(entry.m_szText), "text");
    QTEST(Numbers(entry), "numbers");
    QCOMPARE(entry.m_bActive, 1);
    QCOMPARE(entry.m_bEveryDay, 0);
}

void TestEditFields::flipEditFlag_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("active");
    QTest::addColumn<int>("everyDay");
    QTest::addColumn<int>("activeAfter");
    QTest::addColumn<int>("everyDayAfter");
    QTest::addColumn<FlagRefresh>("refresh");

    QTest::newRow("Active on") << 1011 << 0 << 1 << 1 << 1 << FlagRefresh::Nothing;
    QTest::newRow("Active off") << 1011 << 1 << 0 << 0 << 0 << FlagRefresh::Nothing;
    QTest::newRow("Every day on") << 1039 << 1 << 0 << 1 << 1 << FlagRefresh::DateFields;
    QTest::newRow("Every day off") << 1039 << 0 << 1 << 0 << 0 << FlagRefresh::DateFields;
    QTest::newRow("name") << 1009 << 1 << 1 << 1 << 1 << FlagRefresh::NotAFlag;
    QTest::newRow("OK") << 1 << 0 << 0 << 0 << 0 << FlagRefresh::NotAFlag;
}

void TestEditFields::flipEditFlag() {
    QFETCH(int, id);
    QFETCH(int, active);
    QFETCH(int, everyDay);

    MessageEntry entry = Entry();
    entry.m_bActive = active;
    entry.m_bEveryDay = everyDay;
    const FlagRefresh refresh = FlipEditFlag(entry, id);

    QTEST(refresh, "refresh");
    QTEST(int(entry.m_bActive), "activeAfter");
    QTEST(int(entry.m_bEveryDay), "everyDayAfter");
}

QTEST_APPLESS_MAIN(TestEditFields)
#include "tst_editfields.moc"

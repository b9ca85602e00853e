// The two ways a number is read: from a dialog field, forgivingly, and from the store, strictly.

#include "IntParse.h"

#include <QtTest>

#include <climits>
#include <optional>
#include <string>

class TestIntParse : public QObject {
    Q_OBJECT
private slots:
    void parseDialogInt_data();
    void parseDialogInt();
    void parseStoredInt_data();
    void parseStoredInt();
};

void TestIntParse::parseDialogInt_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("expected");

    QTest::newRow("digits") << QByteArray("42") << 42;
    QTest::newRow("leading zeros") << QByteArray("007") << 7;
    QTest::newRow("zero") << QByteArray("0") << 0;
    QTest::newRow("leading blanks") << QByteArray("   12") << 12;
    QTest::newRow("minus") << QByteArray("-5") << -5;
    QTest::newRow("blanks before minus") << QByteArray("  -5") << -5;
    QTest::newRow("minus zero") << QByteArray("-0") << 0;
    QTest::newRow("largest int") << QByteArray("2147483647") << INT_MAX;
    QTest::newRow("smallest int") << QByteArray("-2147483648") << INT_MIN;
    QTest::newRow("one past largest") << QByteArray("2147483648") << 0;
    QTest::newRow("one past smallest") << QByteArray("-2147483649") << 0;
    // Wraps to 1 if the value is ever held in 32 bits.
    QTest::newRow("two to the 32 plus one") << QByteArray("4294967297") << 0;
    QTest::newRow("far beyond 64 bits") << QByteArray("123456789012345678901234567890") << 0;
    QTest::newRow("empty") << QByteArray("") << 0;
    QTest::newRow("blanks only") << QByteArray("   ") << 0;
    QTest::newRow("minus only") << QByteArray("-") << 0;
    QTest::newRow("plus") << QByteArray("+5") << 0;
    QTest::newRow("two minus signs") << QByteArray("--5") << 0;
    QTest::newRow("blank after minus") << QByteArray("- 5") << 0;
    QTest::newRow("letters") << QByteArray("ab") << 0;
    QTest::newRow("digits then letter") << QByteArray("12a") << 0;
    QTest::newRow("letter then digits") << QByteArray("a12") << 0;
    QTest::newRow("inner blank") << QByteArray("1 2") << 0;
    QTest::newRow("decimal point") << QByteArray("1.5") << 0;
    QTest::newRow("hexadecimal") << QByteArray("0x10") << 0;
    QTest::newRow("trailing blank") << QByteArray("12 ") << 12;
    // A number copied with its line end, or from a page that spaces it with something other than a blank.
    QTest::newRow("trailing line feed") << QByteArray("30\n") << 30;
    QTest::newRow("line ends around") << QByteArray("\r\n-30\r\n") << -30;
    QTest::newRow("tab, vertical tab, form feed") << QByteArray("\t\v\f8\f") << 8;
    QTest::newRow("no-break spaces") << QByteArray("\xC2\xA0" "15" "\xC2\xA0") << 15;
    QTest::newRow("thin and ideographic space") << QByteArray("\xE2\x80\x89" "15" "\xE3\x80\x80") << 15;
    QTest::newRow("line separator, zero-width no-break") << QByteArray("\xEF\xBB\xBF" "9" "\xE2\x80\xA8") << 9;
    QTest::newRow("line feed inside") << QByteArray("1\n2") << 0;
    QTest::newRow("no-break space after minus") << QByteArray("-\xC2\xA0" "5") << 0;
    QTest::newRow("half a no-break space") << QByteArray("5\xC2") << 0;
}

void TestIntParse::parseDialogInt() {
    QFETCH(QByteArray, text);
    QFETCH(int, expected);
    QCOMPARE(ParseDialogInt(std::string(text.constData(), text.size())), expected);
}

void TestIntParse::parseStoredInt_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("isNumber");
    QTest::addColumn<int>("expected");

    QTest::newRow("digits") << QByteArray("42") << true << 42;
    QTest::newRow("leading zeros") << QByteArray("007") << true << 7;
    QTest::newRow("blanks around") << QByteArray("  42  ") << true << 42;
    QTest::newRow("minus") << QByteArray("-1") << true << -1;
    QTest::newRow("plus") << QByteArray("+8") << true << 8;
    QTest::newRow("blanks around sign") << QByteArray(" -3 ") << true << -3;
    QTest::newRow("largest int") << QByteArray("2147483647") << true << INT_MAX;
    QTest::newRow("smallest int") << QByteArray("-2147483648") << true << INT_MIN;
    QTest::newRow("one past largest") << QByteArray("2147483648") << false << 0;
    QTest::newRow("one past smallest") << QByteArray("-2147483649") << false << 0;
    QTest::newRow("two to the 32 plus one") << QByteArray("4294967297") << false << 0;
    QTest::newRow("empty") << QByteArray("") << false << 0;
    QTest::newRow("blanks only") << QByteArray("  ") << false << 0;
    QTest::newRow("plus only") << QByteArray("+") << false << 0;
    QTest::newRow("minus only") << QByteArray("-") << false << 0;
    QTest::newRow("blank after sign") << QByteArray("+ 5") << false << 0;
    QTest::newRow("two plus signs") << QByteArray("++5") << false << 0;
    QTest::newRow("plus then minus") << QByteArray("+-5") << false << 0;
    QTest::newRow("letters") << QByteArray("abc") << false << 0;
    QTest::newRow("digits then letter") << QByteArray("12a") << false << 0;
    QTest::newRow("inner blank") << QByteArray("1 2") << false << 0;
    QTest::newRow("decimal point") << QByteArray("1.0") << false << 0;
    QTest::newRow("hexadecimal") << QByteArray("0x1F") << false << 0;
    QTest::newRow("embedded NUL") << QByteArray("1\0" "2", 3) << false << 0;
}

void TestIntParse::parseStoredInt() {
    QFETCH(QByteArray, text);
    QFETCH(bool, isNumber);
    QFETCH(int, expected);

    const std::optional<int> parsed = ParseStoredInt(std::string(text.constData(), text.size()));
    QCOMPARE(parsed.has_value(), isNumber);
    if (isNumber)
        QCOMPARE(*parsed, expected);
}

QTEST_APPLESS_MAIN(TestIntParse)
#include "tst_intparse.moc"

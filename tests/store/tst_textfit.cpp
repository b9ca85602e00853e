// What a name or text field takes of an edit at its stored limit: what fits goes in, in whole characters.

#include "TextFit.h"

#include <QtTest>

class TestTextFit : public QObject {
    Q_OBJECT
private slots:
    void fitEdit_data();
    void fitEdit();
};

void TestTextFit::fitEdit_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<int>("fieldSize");
    QTest::addColumn<int>("editEnd"); // the caret once the edit was made
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("caret");
    QTest::addColumn<bool>("whole");

    // A field of 10 bytes keeps 9 of text.
    QTest::newRow("fits exactly") << QByteArray("123") << QByteArray("123abcdef") << 10 << 9 << QByteArray("123abcdef")
                                  << 9 << true;
    QTest::newRow("paste one too many at the end")
        << QByteArray("123") << QByteArray("123abcdefg") << 10 << 10 << QByteArray("123abcdef") << 9 << false;
    QTest::newRow("paste in the middle keeps the text after it")
        << QByteArray("1239") << QByteArray("123abcdefg9") << 10 << 10 << QByteArray("123abcde9") << 8 << false;
    QTest::newRow("paste over a selection")
        << QByteArray("12xy9") << QByteArray("12abcdefghij9") << 10 << 12 << QByteArray("12abcdef9") << 8 << false;
    QTest::newRow("paste at the start") << QByteArray("789") << QByteArray("abcdefgh789") << 10 << 8
                                        << QByteArray("abcdef789") << 6 << false;
    // Three-byte characters: three fit in nine bytes, never part of a fourth.
    QTest::newRow("CJK cut after a whole character")
        << QByteArray("") << QByteArray("\xE6\xB0\xB4\xE6\xB0\xB4\xE6\xB0\xB4\xE6\xB0\xB4") << 10 << 12
        << QByteArray("\xE6\xB0\xB4\xE6\xB0\xB4\xE6\xB0\xB4") << 9 << false;
    QTest::newRow("CJK with one byte of room left takes none") << QByteArray("12345678")
                                                               << QByteArray("1234\xE6\xB0\xB4"
                                                                             "5678")
                                                               << 10 << 7 << QByteArray("12345678") << 4 << false;
    // A four-byte character needs all four.
    QTest::newRow("emoji across the limit")
        << QByteArray("12345") << QByteArray("12345\xF0\x9F\x98\x80\xF0\x9F\x98\x80") << 10 << 13
        << QByteArray("12345\xF0\x9F\x98\x80") << 9 << false;
    QTest::newRow("line break is not split")
        << QByteArray("12345678") << QByteArray("12345678\r\nx") << 10 << 11 << QByteArray("12345678") << 8 << false;
    QTest::newRow("line break fits whole")
        << QByteArray("123456") << QByteArray("123456\r\nxy") << 10 << 10 << QByteArray("123456\r\nx") << 9 << false;
    // The common ends must not split a character the two texts share only in part.
    QTest::newRow("shared lead byte of different characters")
        << QByteArray("\xC3\xA9") << QByteArray("\xC3\xA8\xC3\xA8\xC3\xA8\xC3\xA8\xC3\xA8") << 10 << 10
        << QByteArray("\xC3\xA8\xC3\xA8\xC3\xA8\xC3\xA8") << 8 << false;
    QTest::newRow("shortening an overlong text is taken") << QByteArray("1234567890abc") << QByteArray("1234567890ab")
                                                          << 10 << 12 << QByteArray("1234567890ab") << 12 << true;
    QTest::newRow("lengthening an overlong text takes nothing")
        << QByteArray("1234567890") << QByteArray("12345x67890") << 10 << 6 << QByteArray("1234567890") << 5 << false;
    // The user's own text behind the caret stays, however the pasted text begins.
    QTest::newRow("paste whose start matches the text behind the caret")
        << QByteArray("Hello world!") << QByteArray("Hello world peace and moreworld!") << 21 << 26
        << QByteArray("Hello world peworld!") << 14 << false;
    QTest::newRow("deleting") << QByteArray("123456789") << QByteArray("12345689") << 10 << 6 << QByteArray("12345689")
                              << 6 << true;
}

void TestTextFit::fitEdit() {
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QFETCH(int, fieldSize);
    QFETCH(int, editEnd);
    QFETCH(QByteArray, text);
    QFETCH(int, caret);
    QFETCH(bool, whole);

    const FittedEdit fitted = FitEdit(std::string_view(before.constData(), std::size_t(before.size())),
                                      std::string_view(after.constData(), std::size_t(after.size())),
                                      std::size_t(fieldSize), std::size_t(editEnd));
    QCOMPARE(QByteArray::fromStdString(fitted.text), text);
    QCOMPARE(int(fitted.caret), caret);
    QCOMPARE(fitted.whole, whole);
}

QTEST_GUILESS_MAIN(TestTextFit)
#include "tst_textfit.moc"

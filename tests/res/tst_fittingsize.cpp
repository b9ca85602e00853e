// The size both front-ends set a text in when the template's face is too wide for its control.

#include "FittingSize.h"

#include <QtTest>

class TestFittingSize : public QObject {
    Q_OBJECT
private slots:
    void largestFittingSize_data();
    void largestFittingSize();
};

void TestFittingSize::largestFittingSize_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("floor");
    QTest::addColumn<QList<int>>("fitting"); // the sizes at which the text fits
    QTest::addColumn<int>("size");
    QTest::addColumn<QList<int>>("asked"); // the sizes measured, in order

    QTest::newRow("fits as it is") << 16 << 8 << QList<int>{16, 15} << 16 << QList<int>{16};
    QTest::newRow("one smaller") << 16 << 8 << QList<int>{15, 14} << 15 << QList<int>{16, 15};
    QTest::newRow("largest of several") << 12 << 8 << QList<int>{9, 10} << 10 << QList<int>{12, 11, 10};
    QTest::newRow("fits only at the floor") << 12 << 8 << QList<int>{8} << 8 << QList<int>{12, 11, 10, 9, 8};
    QTest::newRow("fits nowhere: the floor") << 12 << 8 << QList<int>{} << 8 << QList<int>{12, 11, 10, 9, 8};
    QTest::newRow("fits only below the floor") << 10 << 8 << QList<int>{7, 6} << 8 << QList<int>{10, 9, 8};
    // A base font of 13 has a floor of 9: 9 * 3 >= 13 * 2 and 8 * 3 < 13 * 2.
    QTest::newRow("two thirds of 13") << 13 << 9 << QList<int>{} << 9 << QList<int>{13, 12, 11, 10, 9};
    QTest::newRow("starting at the floor") << 8 << 8 << QList<int>{} << 8 << QList<int>{8};
    QTest::newRow("starting below the floor, not fitting") << 6 << 8 << QList<int>{} << 6 << QList<int>{6};
    QTest::newRow("starting below the floor, fitting") << 6 << 8 << QList<int>{6} << 6 << QList<int>{6};
}

void TestFittingSize::largestFittingSize() {
    QFETCH(int, start);
    QFETCH(int, floor);
    QFETCH(QList<int>, fitting);

    QList<int> asked;
    const int size = LargestFittingSize(start, floor, [&](int candidate) {
        asked.append(candidate);
        return fitting.contains(candidate);
    });

    QTEST(size, "size");
    QTEST(asked, "asked");
}

QTEST_APPLESS_MAIN(TestFittingSize)
#include "tst_fittingsize.moc"

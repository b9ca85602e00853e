// The rule for rescue copies, shared by the registry's "Damaged N" subkeys and the Linux program's
// "<file>.damaged-N" files: which number comes next, which copies go, whatever order the names are listed in.

#include "QtText.h"
#include "RescueCopies.h"

#include <QtTest>

using namespace RescueCopies;

class tst_RescueCopies : public QObject {
    Q_OBJECT
private slots:
    void numbers_data();
    void numbers();
    void nextNumberNeverWraps_data();
    void nextNumberNeverWraps();
    void planNumbersOnFromTheHighestInAnyOrder();
    void planKeepsTheNewestTen();
    void namesThatAreNoCopiesAreLeftAlone();
};

void tst_RescueCopies::numbers_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("number"); // empty: not a copy
    QTest::newRow("first") << "Damaged 1" << "1";
    QTest::newRow("two digits") << "Damaged 10" << "10";
    QTest::newRow("beyond 64 bits") << "Damaged 123456789012345678901234567890" << "123456789012345678901234567890";
    QTest::newRow("leading zero") << "Damaged 01" << "";
    QTest::newRow("zero") << "Damaged 0" << "";
    QTest::newRow("sign") << "Damaged +3" << "";
    QTest::newRow("no number") << "Damaged " << "";
    QTest::newRow("something after") << "Damaged 3 old" << "";
    QTest::newRow("another prefix") << "damaged 3" << "";
    QTest::newRow("a section") << "Messages" << "";
}

void tst_RescueCopies::numbers() {
    QFETCH(QString, name);
    QFETCH(QString, number);
    const std::optional<std::string> found = NumberOf(name.toStdString(), "Damaged ");
    QCOMPARE(found ? QString::fromStdString(*found) : QString(), number);
}

void tst_RescueCopies::nextNumberNeverWraps_data() {
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("next");
    QTest::newRow("1") << "1" << "2";
    QTest::newRow("9") << "9" << "10";
    QTest::newRow("199") << "199" << "200";
    QTest::newRow("32-bit signed end") << "2147483647" << "2147483648";
    QTest::newRow("32-bit unsigned end") << "4294967295" << "4294967296";
    QTest::newRow("64-bit unsigned end") << "18446744073709551615" << "18446744073709551616";
}

void tst_RescueCopies::nextNumberNeverWraps() {
    QFETCH(QString, number);
    QFETCH(QString, next);
    QCOMPARE(QString::fromStdString(Next(number.toStdString())), next);
    QVERIFY(Less(number.toStdString(), next.toStdString()));
    QVERIFY(!Less(next.toStdString(), number.toStdString()));
}

void tst_RescueCopies::planNumbersOnFromTheHighestInAnyOrder() {
    // As a system may list them: not in the order of their numbers, and not sorted as text either.
    const std::vector<std::string> names = {"Damaged 9", "Configuration", "Damaged 10", "Damaged 2", "Messages"};
    const Plan plan = PlanFor(names, "Damaged ");
    QCOMPARE(QString::fromStdString(plan.newest.value_or("")), QString("Damaged 10"));
    QCOMPARE(QString::fromStdString(plan.next), QString("Damaged 11"));
    QVERIFY(plan.dropAfterCopy.empty());
    QVERIFY(plan.dropWithoutCopy.empty());

    const Plan first = PlanFor({"Configuration", "Messages"}, "Damaged ");
    QVERIFY(!first.newest);
    QCOMPARE(QString::fromStdString(first.next), QString("Damaged 1"));

    const Plan high = PlanFor({"Damaged 4294967295", "Damaged 7"}, "Damaged ");
    QCOMPARE(QString::fromStdString(high.next), QString("Damaged 4294967296"));
}

void tst_RescueCopies::planKeepsTheNewestTen() {
    std::vector<std::string> names;
    for (int n : {12, 3, 5, 1, 9, 11, 2, 4, 10, 6, 8, 7})
        names.push_back("nudgepost.conf.damaged-" + std::to_string(n));
    const Plan plan = PlanFor(names, "nudgepost.conf.damaged-");
    QCOMPARE(QString::fromStdString(plan.next), QString("nudgepost.conf.damaged-13"));
    // With a new copy the newest nine stay beside it; without one, the newest ten.
    QCOMPARE(ToQt(plan.dropAfterCopy), (QStringList{"nudgepost.conf.damaged-3", "nudgepost.conf.damaged-2",
                                                    "nudgepost.conf.damaged-1"}));
    QCOMPARE(ToQt(plan.dropWithoutCopy), (QStringList{"nudgepost.conf.damaged-2", "nudgepost.conf.damaged-1"}));

    const Plan few = PlanFor({"Damaged 1", "Damaged 2"}, "Damaged ");
    QVERIFY(few.dropAfterCopy.empty() && few.dropWithoutCopy.empty());
}

void tst_RescueCopies::namesThatAreNoCopiesAreLeftAlone() {
    std::vector<std::string> names = {"Damaged 007", "Damaged x", "Damaged 1 (mine)"};
    for (int n = 1; n <= 11; ++n)
        names.push_back("Damaged " + std::to_string(n));
    const Plan plan = PlanFor(names, "Damaged ");
    QCOMPARE(QString::fromStdString(plan.next), QString("Damaged 12"));
    QCOMPARE(ToQt(plan.dropAfterCopy), (QStringList{"Damaged 2", "Damaged 1"}));
    QCOMPARE(ToQt(plan.dropWithoutCopy), QStringList{"Damaged 1"});
}

QTEST_GUILESS_MAIN(tst_RescueCopies)
#include "tst_rescuecopies.moc"

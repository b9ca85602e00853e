// The modal driver of the window tests: a driver that cannot do its job fails its test at once, with a message, and
// ends the modal loop it was meant to end, instead of leaving DoModal() to wait for ctest's time-out. Each case
// fails on purpose, so it runs in a child process of this program and the parent reads how it ended.

#include "ModalDriver.h"

#include <QDialog>
#include <QProcess>
#include <QtTest>

using namespace std::chrono_literals;

// Run only in the child, by name: each of these must fail through the driver, and end.
class DriverCases : public QObject {
    Q_OBJECT
private slots:
    void noModalOpens() {
        WhenModalOpens([](QWidget*) {}, 200ms);
        // The dialog opens only after the driver has given up: it is closed all the same.
        QVERIFY2(QTest::qWaitFor([] { return QTest::currentTestFailed(); }, 20000), "the driver never gave up");
        QDialog dialog;
        dialog.exec();
    }
    void answerLeavesItsWindowOpen() {
        WhenModalOpens([](QWidget*) {}, 200ms);
        QDialog dialog;
        dialog.setWindowTitle(QStringLiteral("Left open"));
        dialog.exec();
    }
    // Run together: the first leaves a driver behind, whose window never opens; the second answers its own.
    void endsBeforeItsWindowOpens() {
        WhenModalOpens([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
    }
    void answersItsOwnWindow() {
        WhenModalOpens([](QWidget* modal) { static_cast<QDialog*>(modal)->accept(); });
        QDialog dialog;
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    }
};

class tst_ModalDriver : public QObject {
    Q_OBJECT
private slots:
    void driverThatCannotAnswerFailsAndEndsTheModalLoop_data();
    void driverThatCannotAnswerFailsAndEndsTheModalLoop();
};

void tst_ModalDriver::driverThatCannotAnswerFailsAndEndsTheModalLoop_data() {
    QTest::addColumn<QStringList>("functions");
    QTest::addColumn<QString>("failing");
    QTest::addColumn<QString>("message");
    QTest::newRow("no modal window") << QStringList{"noModalOpens"} << "noModalOpens"
                                     << "WhenModalOpens: no modal window opened (waited 200 ms)";
    QTest::newRow("window left open")
        << QStringList{"answerLeavesItsWindowOpen"} << "answerLeavesItsWindowOpen"
        << "WhenModalOpens: the window \"Left open\" stayed open after its answer (waited 200 ms)";
    QTest::newRow("test ended first")
        << QStringList{"endsBeforeItsWindowOpens", "answersItsOwnWindow"} << "answersItsOwnWindow"
        << "WhenModalOpens of endsBeforeItsWindowOpens: that test ended before its modal window opened";
}

void tst_ModalDriver::driverThatCannotAnswerFailsAndEndsTheModalLoop() {
    QFETCH(QStringList, functions);
    QFETCH(QString, failing);
    QFETCH(QString, message);
    QProcess child;
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), QStringList{QStringLiteral("--driver-cases")} + functions);
    QVERIFY(child.waitForStarted());
    // Well under ctest's time-out: a child still waiting in its modal loop by then is what this test is against.
    if (!child.waitForFinished(60000)) {
        child.kill();
        child.waitForFinished();
        QFAIL(qPrintable("the child still waits in its modal loop:\n" + child.readAll()));
    }
    const QString output = QString::fromLocal8Bit(child.readAll());
    QVERIFY2(child.exitStatus() == QProcess::NormalExit, qPrintable(output));
    QCOMPARE(child.exitCode(), 1);
    QVERIFY2(output.contains("FAIL!  : DriverCases::" + failing + "()"), qPrintable(output));
    QVERIFY2(output.contains(message), qPrintable(output));
    QVERIFY2(output.contains(QRegularExpression("Totals: \\d+ passed, 1 failed,")), qPrintable(output));
}

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QStringList arguments = app.arguments();
    if (arguments.size() > 1 && arguments[1] == QLatin1String("--driver-cases")) {
        arguments.removeAt(1);
        DriverCases cases;
        return QTest::qExec(&cases, arguments);
    }
    tst_ModalDriver test;
    return QTest::qExec(&test, arguments);
}

#include "tst_modaldriver.moc"

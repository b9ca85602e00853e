// The exclamation sound: which sound is asked for, when the bell stands in, and that the real sound library neither
// holds up the window nor stays silent when there is nothing to play on.

#include "CanberraSound.h"
#include "ExclamationSound.h"
#include "QtUserPrompts.h"
#include "SystemSound.h"
#include "ThreadedSoundPlayer.h"

#include <canberra.h>

#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QTest>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

Q_DECLARE_METATYPE(SoundOutcome)

namespace {
// Answers every request with one outcome and remembers what was asked.
class FakePlayer : public SoundPlayer {
public:
    FakePlayer(SoundOutcome outcome, std::vector<SoundRequest>& asked) : m_outcome(outcome), m_asked(asked) {}
    void Play(const SoundRequest& request, std::function<void(SoundOutcome)> done) override {
        m_asked.push_back(request);
        done(m_outcome);
    }

private:
    SoundOutcome m_outcome;
    std::vector<SoundRequest>& m_asked;
};

// Waits for another thread without running this one's event loop, which would deliver the answers under test.
bool WaitOffTheEventLoop(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::yield();
    }
    return true;
}

int ThreadCount() {
    return int(QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}
} // namespace

class TestExclamationSound : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void choice_data();
    void choice();
    void canberraResults_data();
    void canberraResults();
    void noSoundDeviceRingsTheBellWithoutWaiting();
    void slowPlayerDoesNotHoldTheCaller();
    void answersDieWithThePlayer();
};

void TestExclamationSound::initTestCase() {
    // A sound server of the machine that runs the tests must not take the sounds: these tests are about its absence.
    qputenv("PULSE_SERVER", QByteArray("unix:") + QDir::tempPath().toUtf8() + "/nudgepost-no-such-server");
}

void TestExclamationSound::choice_data() {
    QTest::addColumn<bool>("hasPlayer");
    QTest::addColumn<SoundOutcome>("outcome");
    QTest::addColumn<int>("beeps");
    QTest::addColumn<int>("expectedBells");
    QTest::newRow("played: no bell") << true << SoundOutcome::Played << 3 << 0;
    QTest::newRow("event sounds switched off: silence") << true << SoundOutcome::Silenced << 2 << 0;
    QTest::newRow("no sound system: one bell per beep") << true << SoundOutcome::Unavailable << 2 << 2;
    QTest::newRow("no player on this platform: the bell") << false << SoundOutcome::Played << 2 << 2;
}

void TestExclamationSound::choice() {
    QFETCH(bool, hasPlayer);
    QFETCH(SoundOutcome, outcome);
    QFETCH(int, beeps);
    QFETCH(int, expectedBells);
    std::vector<SoundRequest> asked;
    int bells = 0;
    QtUserPrompts prompts(hasPlayer ? std::make_unique<FakePlayer>(outcome, asked) : nullptr, [&bells] { ++bells; });
    QDialog owner;
    owner.show();
    prompts.SetOwner(&owner);
    for (int i = 0; i < beeps; ++i)
        prompts.Beep();
    QCOMPARE(bells, expectedBells);
    QCOMPARE(int(asked.size()), hasPlayer ? beeps : 0);
    for (const SoundRequest& request : asked) {
        QCOMPARE(request.eventId, std::string("dialog-warning"));
        QVERIFY(!request.description.empty());
        // Off X there is no window to name; a made-up id would point the sound server at someone else's window.
        QCOMPARE(request.x11Window, 0ULL);
    }
}

void TestExclamationSound::canberraResults_data() {
    QTest::addColumn<int>("result");
    QTest::addColumn<SoundOutcome>("expected");
    QTest::newRow("success") << int(CA_SUCCESS) << SoundOutcome::Played;
    QTest::newRow("event sounds switched off") << int(CA_ERROR_DISABLED) << SoundOutcome::Silenced;
    QTest::newRow("no server or device") << int(CA_ERROR_NOTAVAILABLE) << SoundOutcome::Unavailable;
    QTest::newRow("no driver") << int(CA_ERROR_NODRIVER) << SoundOutcome::Unavailable;
    QTest::newRow("no theme file") << int(CA_ERROR_NOTFOUND) << SoundOutcome::Unavailable;
    QTest::newRow("server went away") << int(CA_ERROR_DISCONNECTED) << SoundOutcome::Unavailable;
    QTest::newRow("device busy or broken") << int(CA_ERROR_IO) << SoundOutcome::Unavailable;
    QTest::newRow("out of memory") << int(CA_ERROR_OOM) << SoundOutcome::Unavailable;
}

void TestExclamationSound::canberraResults() {
    QFETCH(int, result);
    QFETCH(SoundOutcome, expected);
    QCOMPARE(CanberraSound::OutcomeOf(result), expected);
}

void TestExclamationSound::noSoundDeviceRingsTheBellWithoutWaiting() {
    if (QDir(QStringLiteral("/dev/snd")).exists())
        QSKIP("this machine has a sound device; the fallback needs one without");
    int bells = 0;
    QtUserPrompts prompts(MakeSystemSoundPlayer(), [&bells] { ++bells; });
    for (int beep = 1; beep <= 2; ++beep) {
        QElapsedTimer call;
        call.start();
        prompts.Beep();
        // Generous enough for a loaded machine, far below the time a blocking open or a played sound would take.
        QVERIFY2(call.elapsed() < 500, qPrintable(QStringLiteral("Beep took %1 ms").arg(call.elapsed())));
        // The second beep tries the sound system again instead of giving up after the first failure.
        QTRY_COMPARE_WITH_TIMEOUT(bells, beep, 10000);
    }
}

void TestExclamationSound::slowPlayerDoesNotHoldTheCaller() {
    std::atomic<bool> release{false};
    std::atomic<int> played{0};
    std::vector<SoundOutcome> answers;
    const int threadsBefore = ThreadCount();
    {
        ThreadedSoundPlayer player([&](const SoundRequest&) {
            ++played;
            WaitOffTheEventLoop([&] { return release.load(); });
            return SoundOutcome::Unavailable;
        });
        // Nothing runs before the first sound: start-up does not pay for it.
        QCOMPARE(ThreadCount(), threadsBefore);
        for (int i = 0; i < 2; ++i)
            player.Play({"dialog-warning", "", 0}, [&](SoundOutcome outcome) { answers.push_back(outcome); });
        QVERIFY(WaitOffTheEventLoop([&] { return played == 1; }));
        // Both calls came back while the first sound is still being played.
        QCOMPARE(ThreadCount(), threadsBefore + 1);
        QVERIFY(answers.empty());
        release = true;
        QTRY_COMPARE(int(answers.size()), 2);
        QCOMPARE(played.load(), 2);
        QCOMPARE(answers.front(), SoundOutcome::Unavailable);
    }
    QCOMPARE(ThreadCount(), threadsBefore);
}

void TestExclamationSound::answersDieWithThePlayer() {
    std::atomic<int> played{0};
    int answers = 0;
    {
        ThreadedSoundPlayer player([&](const SoundRequest&) {
            ++played;
            return SoundOutcome::Unavailable;
        });
        for (int i = 0; i < 3; ++i)
            player.Play({"dialog-warning", "", 0}, [&](SoundOutcome) { ++answers; });
        QVERIFY(WaitOffTheEventLoop([&] { return played == 3; }));
    }
    // Three answers were sent and none delivered when the player went: the prompts that asked are gone too.
    QCoreApplication::sendPostedEvents();
    QCOMPARE(answers, 0);
}

QTEST_MAIN(TestExclamationSound)
#include "tst_exclamationsound.moc"

// The exclamation sound: which sound is asked for, when the bell stands in, and that the real sound library neither
// holds up the window nor stays silent when there is nothing to play on.

#include "CanberraSound.h"
#include "DesktopSoundSettings.h"
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
#include <system_error>
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

// An _XSETTINGS_SETTINGS value as a settings daemon writes it, in either byte order.
struct XSetting {
    int type; // 0 integer, 1 string, 2 colour
    QByteArray name;
    QByteArray text;
    quint32 number = 0;
};

QByteArray XSettingsValue(bool bigEndian, const std::vector<XSetting>& settings) {
    QByteArray out;
    auto number = [&](quint32 value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out.append(char(value >> 8 * (bigEndian ? bytes - 1 - i : i)));
    };
    auto padded = [&](const QByteArray& text) {
        out.append(text);
        out.append(QByteArray((4 - text.size() % 4) % 4, '\0'));
    };
    number(bigEndian ? 1 : 0, 1);
    out.append(QByteArray(3, '\0'));
    number(7, 4); // serial
    number(quint32(settings.size()), 4);
    for (const XSetting& setting : settings) {
        number(quint32(setting.type), 1);
        out.append('\0');
        number(quint32(setting.name.size()), 2);
        padded(setting.name);
        number(3, 4); // last change
        if (setting.type == 0) {
            number(setting.number, 4);
        } else if (setting.type == 1) {
            number(quint32(setting.text.size()), 4);
            padded(setting.text);
        } else {
            number(0xffff0000u, 4);
            number(0x8000ffffu, 4);
        }
    }
    return out;
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
    void desktopSettings_data();
    void desktopSettings();
    void canberraResults_data();
    void canberraResults();
    void plan_data();
    void plan();
    void noThreadToSpareStillAnswers();
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

void TestExclamationSound::desktopSettings_data() {
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<int>("eventSounds"); // -1: the desktop does not say
    QTest::addColumn<QString>("theme");

    // Written out byte by byte, so that the reader and the writer above cannot share one misreading of the format.
    const QByteArray switchedOff = QByteArray("\0\0\0\0" "\x01\0\0\0" "\x01\0\0\0" "\0\0\x15\0", 16) +
                                   "Net/EnableEventSounds" + QByteArray(3 + 4 + 4, '\0');
    QTest::newRow("switched off") << switchedOff << 0 << QString();

    const std::vector<XSetting> desktop = {
        {2, "Gtk/Colour", "", 0},
        {1, "Net/ThemeName", "Adwaita", 0},
        {0, "Net/DoubleClickTime", "", 400},
        {0, "Net/EnableEventSounds", "", 1},
        {1, "Net/SoundThemeName", "ocean", 0},
    };
    QTest::newRow("on, a theme, among others, least significant byte first")
        << XSettingsValue(false, desktop) << 1 << QStringLiteral("ocean");
    QTest::newRow("on, a theme, among others, most significant byte first")
        << XSettingsValue(true, desktop) << 1 << QStringLiteral("ocean");
    QTest::newRow("nothing about sounds")
        << XSettingsValue(false, {desktop[0], desktop[1], desktop[2]}) << -1 << QString();
    const QByteArray whole = XSettingsValue(false, desktop);
    QTest::newRow("cut off inside the theme's name") << whole.left(whole.size() - 5) << 1 << QString();
    QByteArray unknownType = XSettingsValue(false, {desktop[3], {1, "Net/SoundThemeName", "ocean", 0}});
    unknownType[12] = 9; // the first setting's type: its length is unknown, so nothing can be read after it
    QTest::newRow("unknown type") << unknownType << -1 << QString();
    QByteArray tooMany = XSettingsValue(false, {desktop[4]});
    tooMany[8] = char(200);
    QTest::newRow("more settings counted than written") << tooMany << -1 << QStringLiteral("ocean");
    QTest::newRow("empty") << QByteArray() << -1 << QString();
}

void TestExclamationSound::desktopSettings() {
    QFETCH(QByteArray, property);
    QFETCH(int, eventSounds);
    QFETCH(QString, theme);
    const DesktopSoundSettings settings =
        DesktopSoundSettings::FromXSettings(std::string_view(property.constData(), std::size_t(property.size())));
    QCOMPARE(settings.eventSounds.has_value() ? int(*settings.eventSounds) : -1, eventSounds);
    QCOMPARE(QString::fromStdString(settings.themeName), theme);
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

void TestExclamationSound::plan_data() {
    QTest::addColumn<int>("eventSounds"); // -1: the desktop does not say
    QTest::addColumn<QString>("theme");
    QTest::addColumn<bool>("library");
    QTest::addColumn<bool>("play");
    QTest::addColumn<SoundOutcome>("outcome");
    QTest::addColumn<bool>("forceEnable");
    QTest::addColumn<bool>("loadAsked");
    QTest::newRow("switched off: silent, the library not even loaded")
        << 0 << "" << true << false << SoundOutcome::Silenced << false << false;
    QTest::newRow("switched off without the library: silent, not the bell")
        << 0 << "" << false << false << SoundOutcome::Silenced << false << false;
    QTest::newRow("no library: the bell") << -1 << "" << false << false << SoundOutcome::Unavailable << false << true;
    QTest::newRow("the desktop says nothing: the library decides")
        << -1 << "" << true << true << SoundOutcome::Played << false << true;
    QTest::newRow("switched on with a theme") << 1 << "ocean" << true << true << SoundOutcome::Played << true << true;
}

void TestExclamationSound::plan() {
    QFETCH(int, eventSounds);
    QFETCH(QString, theme);
    QFETCH(bool, library);
    QFETCH(bool, play);
    QFETCH(SoundOutcome, outcome);
    QFETCH(bool, forceEnable);
    QFETCH(bool, loadAsked);
    DesktopSoundSettings desktop;
    if (eventSounds >= 0)
        desktop.eventSounds = eventSounds == 1;
    desktop.themeName = theme.toStdString();
    bool asked = false;
    const SoundPlan plan = PlanSound(desktop, [&] {
        asked = true;
        return library;
    });
    QCOMPARE(plan.play, play);
    if (!play)
        QCOMPARE(plan.outcome, outcome);
    QCOMPARE(plan.forceEnable, forceEnable);
    QCOMPARE(QString::fromStdString(plan.themeName), play ? theme : QString());
    QCOMPARE(asked, loadAsked);
}

// A session at its limit of tasks has no thread for the sound; the box it goes with must still come.
void TestExclamationSound::noThreadToSpareStillAnswers() {
    int played = 0;
    std::vector<SoundOutcome> answers;
    ThreadedSoundPlayer player([&](const SoundRequest&) { return ++played, SoundOutcome::Played; },
                               [](std::function<void()>) -> std::thread {
                                   throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
                               });
    player.Play({"dialog-warning", "", 0}, [&](SoundOutcome outcome) { answers.push_back(outcome); });
    QTRY_COMPARE(answers.size(), std::size_t{1});
    QCOMPARE(answers[0], SoundOutcome::Unavailable);
    QCOMPARE(played, 0);
}

void TestExclamationSound::noSoundDeviceRingsTheBellWithoutWaiting() {
    if (QDir(QStringLiteral("/dev/snd")).exists())
        QSKIP("this machine has a sound device; the fallback needs one without");
    int bells = 0;
    QtUserPrompts prompts(MakeSystemSoundPlayer(""), [&bells] { ++bells; });
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
        QVERIFY(answers.empty());
        release = true;
        QTRY_COMPARE(int(answers.size()), 2);
        QCOMPARE(played.load(), 2);
        QCOMPARE(answers.front(), SoundOutcome::Unavailable);
    }
    // The kernel may list a joined thread a moment longer.
    QTRY_COMPARE(ThreadCount(), threadsBefore);
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

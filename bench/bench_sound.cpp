// The cost of one exclamation sound on the GUI thread, as a due message pays it between bringing the main window to
// the front and opening the display window: the call into the prompts, plus the handling of the sound system's
// answer when it comes back through the event loop (the bell, where no sound system answered). The program's own
// player is used, whatever this machine offers it.
//
// nudgepost_bench_sound [count]   (default 101: the first sound starts the sound thread and is reported apart)
// Prints one line: first_us=... median_us=... max_us=... call_us=... answer_ms=... played=... silenced=... unavailable=...

#include "QtUserPrompts.h"
#include "SystemSound.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <vector>

namespace {
// The system's player, with the answers counted and the time spent handling them on the GUI thread measured.
class MeasuredPlayer : public SoundPlayer {
public:
    explicit MeasuredPlayer(std::unique_ptr<SoundPlayer> inner) : m_inner(std::move(inner)) {}
    void Play(const SoundRequest& request, std::function<void(SoundOutcome)> done) override {
        m_inner->Play(request, [this, done = std::move(done)](SoundOutcome outcome) {
            QElapsedTimer handling;
            handling.start();
            done(outcome);
            lastHandlingNs = handling.nsecsElapsed();
            ++outcomes[outcome];
            ++answers;
        });
    }

    int answers = 0;
    qint64 lastHandlingNs = 0;
    std::map<SoundOutcome, int> outcomes;

private:
    std::unique_ptr<SoundPlayer> m_inner;
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::max(2, std::atoi(argv[1])) : 101;
    QDialog owner;
    owner.setWindowTitle(QStringLiteral("Nudgepost"));
    owner.show();
    QElapsedTimer exposed;
    exposed.start();
    while (!owner.windowHandle()->isExposed() && exposed.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);

    std::unique_ptr<SoundPlayer> system = MakeSystemSoundPlayer("");
    if (!system) {
        std::printf("no sound player on this platform\n");
        return 1;
    }
    auto measured = std::make_unique<MeasuredPlayer>(std::move(system));
    MeasuredPlayer& player = *measured;
    QtUserPrompts prompts(std::move(measured), [] { QApplication::beep(); });
    prompts.SetOwner(&owner);

    std::vector<double> costsUs;
    std::vector<double> callsUs;
    std::vector<double> answersMs;
    for (int i = 0; i < count; ++i) {
        QElapsedTimer call;
        call.start();
        prompts.Beep();
        const double callUs = call.nsecsElapsed() / 1000.0;
        // One sound at a time, as reminders come: wait for its answer before the next.
        while (player.answers <= i && call.elapsed() < 10000)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
        if (player.answers <= i) {
            std::printf("no answer from the sound system within 10 s\n");
            return 1;
        }
        answersMs.push_back(call.nsecsElapsed() / 1e6);
        callsUs.push_back(callUs);
        costsUs.push_back(callUs + player.lastHandlingNs / 1000.0);
    }
    const std::vector<double> rest(costsUs.begin() + 1, costsUs.end());
    std::printf("first_us=%.1f median_us=%.1f max_us=%.1f call_us=%.1f answer_ms=%.2f played=%d silenced=%d "
                "unavailable=%d\n",
                costsUs.front(), Median(rest), *std::max_element(rest.begin(), rest.end()),
                Median(std::vector<double>(callsUs.begin() + 1, callsUs.end())),
                Median(std::vector<double>(answersMs.begin() + 1, answersMs.end())),
                player.outcomes[SoundOutcome::Played], player.outcomes[SoundOutcome::Silenced],
                player.outcomes[SoundOutcome::Unavailable]);
    return 0;
}

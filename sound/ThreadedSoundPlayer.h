#pragma once

#include "SoundPlayer.h"

#include <QObject>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

// Runs a player that may take its time, such as a sound library whose back end plays to the end before it returns,
// on a thread of its own, so that the window that beeps never waits for the audio. The thread starts with the first
// sound, not with the program; the answers come back through the event loop of the thread that made the player.
class ThreadedSoundPlayer : public SoundPlayer {
public:
    using PlayFunction = std::function<SoundOutcome(const SoundRequest&)>;

    // How the worker thread is started; the default is std::thread's constructor, which throws std::system_error
    // when the system will not create one more thread.
    using ThreadStarter = std::function<std::thread(std::function<void()>)>;

    explicit ThreadedSoundPlayer(PlayFunction play, ThreadStarter startThread = {});
    // Waits for the sound being handed over, drops those still waiting and every answer not yet delivered.
    ~ThreadedSoundPlayer() override;
    ThreadedSoundPlayer(const ThreadedSoundPlayer&) = delete;
    ThreadedSoundPlayer& operator=(const ThreadedSoundPlayer&) = delete;

    void Play(const SoundRequest& request, std::function<void(SoundOutcome)> done) override;

private:
    struct Job {
        SoundRequest request;
        std::function<void(SoundOutcome)> done;
    };

    void Work();
    void Answer(std::function<void(SoundOutcome)> done, SoundOutcome outcome);

    PlayFunction m_play; // called on the worker alone
    ThreadStarter m_startThread;
    QObject m_answers;   // lives on the creating thread; dropping it drops the answers queued for it

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Job> m_jobs;
    bool m_stopping = false;
    std::thread m_worker;
};

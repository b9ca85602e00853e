#include "ThreadedSoundPlayer.h"

#include <QMetaObject>

#include <system_error>
#include <utility>

#ifdef __linux__
#include <pthread.h>
#include <sched.h>
#endif

ThreadedSoundPlayer::ThreadedSoundPlayer(PlayFunction play, ThreadStarter startThread)
    : m_play(std::move(play)), m_startThread(std::move(startThread)) {
    if (!m_startThread)
        m_startThread = [](std::function<void()> work) { return std::thread(std::move(work)); };
}

ThreadedSoundPlayer::~ThreadedSoundPlayer() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_jobs.clear();
    }
    m_wake.notify_one();
    if (m_worker.joinable())
        m_worker.join();
}

void ThreadedSoundPlayer::Play(const SoundRequest& request, std::function<void(SoundOutcome)> done) {
    {
        std::lock_guard lock(m_mutex);
        if (!m_worker.joinable()) {
            // A session at its limit of tasks or of address space has no thread to spare. The beep is a side
            // effect: the box or the due message it goes with still appears, with the bell standing in.
            try {
                m_worker = m_startThread([this] { Work(); });
            } catch (const std::system_error&) {
                Answer(std::move(done), SoundOutcome::Unavailable);
                return;
            }
        }
        m_jobs.push_back({request, std::move(done)});
    }
    m_wake.notify_one();
}

void ThreadedSoundPlayer::Answer(std::function<void(SoundOutcome)> done, SoundOutcome outcome) {
    QMetaObject::invokeMethod(
        &m_answers, [done = std::move(done), outcome] { done(outcome); }, Qt::QueuedConnection);
}

void ThreadedSoundPlayer::Work() {
#ifdef __linux__
    // A thread woken for a sound would otherwise take the processor from the window that woke it on a busy machine,
    // and the window would wait for the sound after all; a batch thread gets its fair share without preempting.
    const sched_param normal{};
    pthread_setschedparam(pthread_self(), SCHED_BATCH, &normal);
#endif
    for (;;) {
        Job job;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stopping || !m_jobs.empty(); });
            if (m_stopping)
                return;
            job = std::move(m_jobs.front());
            m_jobs.pop_front();
        }
        Answer(std::move(job.done), m_play(job.request));
    }
}

#include "ThreadedSoundPlayer.h"

#include <QMetaObject>

#include <utility>

#ifdef __linux__
#include <pthread.h>
#include <sched.h>
#endif

ThreadedSoundPlayer::ThreadedSoundPlayer(PlayFunction play) : m_play(std::move(play)) {}

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
        m_jobs.push_back({request, std::move(done)});
        if (!m_worker.joinable())
            m_worker = std::thread([this] { Work(); });
    }
    m_wake.notify_one();
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
        const SoundOutcome outcome = m_play(job.request);
        QMetaObject::invokeMethod(
            &m_answers, [done = std::move(job.done), outcome] { done(outcome); }, Qt::QueuedConnection);
    }
}

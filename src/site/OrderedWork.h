#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>
#include <utility>
#include <vector>

namespace zefa::site {

// Runs jobs on threads of their own, each thread with a `State` of its own
// (the core's classifiers serve one thread at a time), and hands the results
// to `take` on the thread that gave the jobs, in the order it gave them: what
// `take` writes comes out as from one thread. At most two jobs a thread are
// in flight, so memory stays that of a few results however many jobs there
// are. With one thread, each job runs on the thread that gives it.
template <typename State, typename Result>
class OrderedWork {
public:
    using Job = std::function<Result(State&)>;
    using Take = std::function<void(Result&&)>;

    OrderedWork(unsigned threads, Take take) : m_take(std::move(take)), m_window(2 * threads) {
        for (unsigned i = 0; threads > 1 && i < threads; ++i)
            m_threads.emplace_back([this](const std::stop_token& stop) { work(stop); });
    }
    OrderedWork(const OrderedWork&) = delete;
    OrderedWork& operator=(const OrderedWork&) = delete;

    // Gives the job; hands over the results that are ready, and waits for
    // the oldest while the window is full.
    void add(Job job) {
        if (m_threads.empty()) {
            m_take(job(m_state));
            return;
        }
        std::unique_lock lock(m_mutex);
        m_slots.push_back({std::move(job), std::nullopt});
        m_jobGiven.notify_one();
        handOver(lock, m_window);
    }

    // Hands over every result still to come.
    void finish() {
        std::unique_lock lock(m_mutex);
        handOver(lock, 0);
    }

private:
    struct Slot {
        Job job;
        std::optional<Result> result;
    };

    // Hands the results over in order, the ready ones and then, while more
    // than `inFlight` jobs are left, the oldest as soon as it is ready.
    void handOver(std::unique_lock<std::mutex>& lock, std::size_t inFlight) {
        while (!m_slots.empty()) {
            if (!m_slots.front().result) {
                if (m_slots.size() <= inFlight) return;
                m_oldestDone.wait(lock, [this] { return m_slots.front().result.has_value(); });
            }
            Result result = std::move(*m_slots.front().result);
            m_slots.pop_front();
            ++m_first;
            lock.unlock();
            m_take(std::move(result));
            lock.lock();
        }
    }

    void work(const std::stop_token& stop) {
        State state;
        std::unique_lock lock(m_mutex);
        while (m_jobGiven.wait(lock, stop, [this] { return m_next < m_first + m_slots.size(); })) {
            const std::size_t job = m_next++;
            Job run = std::move(m_slots[job - m_first].job);
            lock.unlock();
            Result result = run(state);
            lock.lock();
            // Its slot stays until its result is handed over. Only the
            // oldest result is waited for: a wakeup for any other would cost
            // a switch of threads for nothing.
            m_slots[job - m_first].result = std::move(result);
            if (job == m_first) m_oldestDone.notify_one();
        }
    }

    Take m_take;
    std::size_t m_window;
    State m_state;  // with one thread
    std::mutex m_mutex;
    std::condition_variable_any m_jobGiven;    // workers wait for a job
    std::condition_variable m_oldestDone;      // the giving thread waits for the oldest result
    std::deque<Slot> m_slots;  // from the oldest job not handed over yet
    std::size_t m_first = 0;   // the number of the job in the first slot
    std::size_t m_next = 0;    // the number of the next job to run
    std::vector<std::jthread> m_threads;  // last: they go first, before what they use
};

}  // namespace zefa::site

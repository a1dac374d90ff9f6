#pragma once
// Blocks of work played on several threads and handed on in their order.
// Blocks are started in order and every started block finishes, so the
// blocks handed on are always the first ones, whatever the threads did.

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace zelmar::sim {

// Plays blocks 0 .. count - 1 with `play(index)` on `threads` threads and
// hands each result to `take` on the calling thread, in order. No new block
// starts once `stop` is set. Returns the number of blocks handed on.
template <class Play, class Take>
long runOrdered(long count, int threads, const std::atomic<bool>* stop, Play play, Take take)
{
    using Result = decltype(play(0L));
    const auto stopped = [&] { return stop && stop->load(std::memory_order_relaxed); };

    std::mutex mutex;
    std::condition_variable finished;
    std::map<long, Result> done; // finished blocks not yet handed on
    long next = 0;
    long handed = 0;
    int running = 0;
    // At most this many blocks ahead of the first one not handed on, so that
    // the blocks waiting to be handed on take a bounded amount of memory.
    const long ahead = 4L * std::max(1, threads);

    const auto work = [&] {
        std::unique_lock lock(mutex);
        while (!stopped() && next < count) {
            if (next >= handed + ahead) {
                finished.wait(lock);
                continue;
            }
            const long index = next++;
            lock.unlock();
            Result result = play(index);
            lock.lock();
            done.emplace(index, std::move(result));
            finished.notify_all();
        }
        --running;
        finished.notify_all();
    };

    const int used = static_cast<int>(std::clamp<long>(threads, 1, std::max(1L, count)));
    std::vector<std::jthread> pool;
    running = used;
    pool.reserve(static_cast<std::size_t>(used));
    for (int t = 0; t < used; ++t)
        pool.emplace_back(work);

    std::unique_lock lock(mutex);
    for (;;) {
        auto it = done.find(handed);
        if (it != done.end()) {
            Result result = std::move(it->second);
            done.erase(it);
            lock.unlock();
            take(result);
            lock.lock();
            ++handed;
            finished.notify_all();
            continue;
        }
        if (running == 0)
            break;
        finished.wait(lock);
    }
    lock.unlock();
    pool.clear();
    return handed;
}

} // namespace zelmar::sim

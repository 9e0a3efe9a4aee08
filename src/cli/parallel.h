#pragma once

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdlib>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

// The threads the analyses of a call run on: one a core. ARRAYPATTERN_CLI_WORKERS, a knob for
// the tests alone and not documented to users, sets another number (1 runs everything on the
// calling thread), so that a test can hold the output of several workers against one's.
inline std::size_t WorkerCount() {
    if (const char* asked = std::getenv("ARRAYPATTERN_CLI_WORKERS")) {
        const int workers = std::atoi(asked);
        if (workers >= 1 && workers <= 64) return static_cast<std::size_t>(workers);
    }
    return std::max(1u, std::thread::hardware_concurrency());
}

// Runs work(i) for i = 0 .. count - 1 on every worker; each i once, in no particular order.
template <typename TWork>
void ParallelFor(std::size_t count, TWork&& work) {
    std::atomic<std::size_t> next = 0;
    const auto run = [&] {
        for (std::size_t i = next++; i < count; i = next++) work(i);
    };
    std::vector<std::thread> helpers;
    for (std::size_t t = 1; t < std::min(WorkerCount(), count); ++t) helpers.emplace_back(run);
    run();
    for (std::thread& helper : helpers) helper.join();
}

// Makes make(i) for i = 0 .. count - 1 on the workers and hands each result to take(i, result)
// on the calling thread strictly in the order of i, as soon as it is its turn. At most `window`
// results are made ahead of the one taken, so memory stays flat however large the count. An
// exception from make or take stops the workers and is rethrown once they are joined.
template <typename TMake, typename TTake>
void OrderedParallelFor(std::size_t count, std::size_t window, TMake&& make, TTake&& take) {
    using TResult = decltype(make(std::size_t{}));
    const std::size_t workers = std::min(WorkerCount(), count);
    if (workers <= 1) {
        for (std::size_t i = 0; i < count; ++i) take(i, make(i));
        return;
    }
    window = std::max(window, workers);
    std::mutex lock;
    std::condition_variable changed;
    std::vector<std::optional<TResult>> slots(window);  // result i waits in slot i % window
    std::size_t next = 0;                               // the next i a worker makes
    std::size_t taken = 0;                              // results handed on
    std::exception_ptr failure;
    bool stop = false;
    const auto work = [&] {
        std::unique_lock guard(lock);
        for (;;) {
            changed.wait(guard, [&] { return stop || next >= count || next < taken + window; });
            if (stop || next >= count) return;
            const std::size_t i = next++;
            guard.unlock();
            try {
                TResult result = make(i);
                guard.lock();
                slots[i % window] = std::move(result);
            } catch (...) {
                if (!guard.owns_lock()) guard.lock();
                if (!failure) failure = std::current_exception();
                stop = true;
            }
            changed.notify_all();
        }
    };
    std::vector<std::thread> threads;
    const auto finish = [&] {
        {
            const std::lock_guard guard(lock);
            stop = true;
        }
        changed.notify_all();
        for (std::thread& thread : threads) thread.join();
    };
    try {
        for (std::size_t t = 0; t < workers; ++t) threads.emplace_back(work);
        for (std::size_t i = 0; i < count; ++i) {
            std::optional<TResult> result;
            {
                std::unique_lock guard(lock);
                changed.wait(guard, [&] { return slots[i % window] || failure; });
                if (!slots[i % window]) break;
                result.swap(slots[i % window]);
                ++taken;
            }
            changed.notify_all();
            take(i, std::move(*result));
        }
    } catch (...) {
        finish();
        throw;
    }
    finish();
    if (failure) std::rethrow_exception(failure);
}

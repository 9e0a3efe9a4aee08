#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <thread>
#include <vector>

// Runs work(i) for i = 0 .. count - 1 on every core; each i once, in no particular order.
template <typename TWork>
void ParallelFor(std::size_t count, TWork&& work) {
    std::atomic<std::size_t> next = 0;
    const auto run = [&] {
        for (std::size_t i = next++; i < count; i = next++) work(i);
    };
    const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
    std::vector<std::thread> helpers;
    for (std::size_t t = 1; t < std::min(cores, count); ++t) helpers.emplace_back(run);
    run();
    for (std::thread& helper : helpers) helper.join();
}

#pragma once
// Independent pieces of work shared out over the machine's cores: work(i) for
// every i in 0..count-1, each exactly once, in no given order; returns when
// all are done. The work writes only to what belongs to its own i.

#include <QtGlobal>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace orven {

template <class Work> void forEachIndex(qsizetype count, Work&& work) {
    const auto cores = static_cast<qsizetype>(std::max(1u, std::thread::hardware_concurrency()));
    std::atomic<qsizetype> next{0};
    const auto worker = [&] {
        for (qsizetype i = next++; i < count; i = next++) {
            work(i);
        }
    };
    std::vector<std::thread> helpers;
    for (qsizetype t = 1; t < std::min(cores, count); ++t) {
        helpers.emplace_back(worker);
    }
    worker();
    for (std::thread& helper : helpers) {
        helper.join();
    }
}

} // namespace orven

#pragma once
// Independent pieces of work shared out over the machine's cores: work(i) for
// every i in 0..count-1, each exactly once, in no given order; returns when
// all are done. The work writes only to what belongs to its own i.

#include <QtGlobal>
#ifdef Q_OS_WIN
#include <QThread>

#include <float.h>
#include <memory>
#endif

#include <algorithm>
#include <atomic>
#include <thread>
#include <utility>
#include <vector>

namespace orven {

#ifdef Q_OS_WIN
// Qt's regular expressions keep a JIT stack in a thread-local object with a
// destructor; once a helper thread has matched one, MinGW's C++ run-time hangs
// at the program's end, in its unloading (and ended a std::thread with a
// crash). The interpreter matches the program's few short patterns as well.
// Set before main, in every program that shares out work, before the first
// pattern is compiled (Qt reads the variable then).
inline const bool regularExpressionsInterpreted = qputenv("QT_ENABLE_REGEXP_JIT", "0");
#endif

// finish() is called on each thread that worked, once its share is done and
// while it still runs (what the thread holds, let go of in order).
template <class Work, class Finish>
void forEachIndex(qsizetype count, Work&& work, Finish&& finish) {
    const auto cores = static_cast<qsizetype>(std::max(1u, std::thread::hardware_concurrency()));
    std::atomic<qsizetype> next{0};
    const auto worker = [&] {
        for (qsizetype i = next++; i < count; i = next++) {
            work(i);
        }
        finish();
    };
#ifdef Q_OS_WIN
    // Qt's threads on Windows: the C++ run-time of MinGW ends a thread of its
    // own before Qt's thread-local data (a regular expression's stack) is let
    // go of, and the program then breaks at the thread's end.
    // And every thread's x87 unit set as the C run-time sets the main thread's
    // (Windows starts a thread at 53 bits, MinGW's main thread at 64), for
    // MinGW's exp and log round by it: the same numbers on every thread.
    const auto worksAsMain = [&] {
        _fpreset();
        worker();
    };
    std::vector<std::unique_ptr<QThread>> helpers;
    for (qsizetype t = 1; t < std::min(cores, count); ++t) {
        helpers.emplace_back(QThread::create(worksAsMain));
        helpers.back()->start();
    }
    worksAsMain();
    for (const std::unique_ptr<QThread>& helper : helpers) {
        helper->wait();
    }
#else
    std::vector<std::thread> helpers;
    for (qsizetype t = 1; t < std::min(cores, count); ++t) {
        helpers.emplace_back(worker);
    }
    worker();
    for (std::thread& helper : helpers) {
        helper.join();
    }
#endif
}

template <class Work> void forEachIndex(qsizetype count, Work&& work) {
    forEachIndex(count, std::forward<Work>(work), [] {});
}

} // namespace orven

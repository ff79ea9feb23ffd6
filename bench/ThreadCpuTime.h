#pragma once

#include <benchmark/benchmark.h>
#include <ctime>

// Benchmarks that print a ratio to a floor time both sides in CPU time of their thread, so that
// other processes on a busy machine count against neither.
namespace ThreadCpuTime {

inline double nowMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// Runs body once per iteration and keeps the milliseconds per iteration in ms.
template<typename Body>
void measure(benchmark::State &state, double &ms, Body body)
{
    const double start = nowMs();
    for (auto _ : state)
        body();
    ms = (nowMs() - start) / double(state.iterations());
}

} // namespace ThreadCpuTime

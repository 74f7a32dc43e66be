#pragma once
#include <benchmark/benchmark.h>
#include <ctime>

// The program's work timed beside the raw engine's for the same work, the two run by turns in
// one run, so that a noisy machine weighs on both alike. The benchmark's time is the program's
// (register it with ->UseManualTime()); the counters give the raw figure and the ratio.

namespace bench {

// Cpu: the calling thread's CPU time; ProcessCpu: every thread's, for work the program hands to
// a thread of its own.
enum class Clock { Wall, Cpu, ProcessCpu };

inline double milliseconds(Clock clock)
{
    timespec ts{};
    clock_gettime(clock == Clock::Cpu          ? CLOCK_THREAD_CPUTIME_ID
                  : clock == Clock::ProcessCpu ? CLOCK_PROCESS_CPUTIME_ID
                                               : CLOCK_MONOTONIC,
                  &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

class Paired {
public:
    explicit Paired(benchmark::State& state, Clock clock = Clock::Wall) : state_(state), clock_(clock) {}
    ~Paired()
    {
        if (runs_ == 0) return;
        state_.counters["program_ms"] = program_ / runs_;
        state_.counters["raw_ms"] = raw_ / runs_;
        state_.counters["ratio"] = raw_ > 0 ? program_ / raw_ : 0;
    }
    Paired(const Paired&) = delete;
    Paired& operator=(const Paired&) = delete;

    // The raw engine's work for this iteration.
    template <class F>
    void raw(F&& f)
    {
        raw_ += timed(f);
    }
    // A raw figure timed by the caller.
    void addRaw(double ms) { raw_ += ms; }
    // The program's work for this iteration: the benchmark's time.
    template <class F>
    void program(F&& f)
    {
        const double ms = timed(f);
        program_ += ms;
        ++runs_;
        state_.SetIterationTime(ms / 1e3);
    }

private:
    template <class F>
    double timed(F& f)
    {
        const double start = milliseconds(clock_);
        f();
        return milliseconds(clock_) - start;
    }

    benchmark::State& state_;
    Clock clock_;
    double program_ = 0, raw_ = 0;
    int runs_ = 0;
};

}  // namespace bench

#pragma once

// Measures a piece of work and its floor in the same loop, turn about, so that whatever else
// the machine is doing falls on both alike. The counters are the work's time per call
// ("work_ns"), the floor's ("floor_ns") and the ratio of the two ("ratio"); the benchmark's
// own time is that of a whole turn, work and floor together. Register with ->UseManualTime().

#include <benchmark/benchmark.h>

#include <chrono>

// Each turn makes `workCalls` calls of the work and `floorCalls` of the floor, the two counts
// chosen so that both take some tens of microseconds and reading the clock costs next to
// nothing; times and the ratio are per call.
template <class Work, class Floor>
void RunPaired(benchmark::State& state, int workCalls, Work&& work, int floorCalls, Floor&& floor) {
    using Clock = std::chrono::steady_clock;
    using Nanoseconds = std::chrono::duration<double, std::nano>;
    auto timed = [](int calls, auto& what) {
        const Clock::time_point start = Clock::now();
        for (int call = 0; call < calls; ++call)
            what();
        return Nanoseconds(Clock::now() - start).count() / calls;
    };
    double workTotal = 0, floorTotal = 0;
    bool workFirst = true;
    for (auto _ : state) {
        double workNs = 0, floorNs = 0;
        if (workFirst) {
            workNs = timed(workCalls, work);
            floorNs = timed(floorCalls, floor);
        } else {
            floorNs = timed(floorCalls, floor);
            workNs = timed(workCalls, work);
        }
        workTotal += workNs;
        floorTotal += floorNs;
        workFirst = !workFirst;
        state.SetIterationTime((workNs * workCalls + floorNs * floorCalls) / 1e9);
    }
    const auto turns = static_cast<double>(state.iterations());
    state.counters["work_ns"] = turns > 0 ? workTotal / turns : 0.0;
    state.counters["floor_ns"] = turns > 0 ? floorTotal / turns : 0.0;
    state.counters["ratio"] = floorTotal > 0 ? workTotal / floorTotal : 0.0;
}

// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

// Measures a piece of work and its floor in the same loop, turn about, so that whatever else
// the machine is doing falls on both alike. Times are the thread's CPU time, system calls
// included, so that time spent waiting for a CPU taken by another process counts for neither;
// the cost of reading that clock is measured first and taken off. The counters are the work's
// time per call ("work_ns"), the floor's ("floor_ns") and the ratio of the two ("ratio"); the
// benchmark's own time is that of a whole turn, work and floor together. Register with
// ->UseManualTime().

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>

// The calling thread's CPU time in nanoseconds.
inline double ThreadCpuNs() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e9 + static_cast<double>(now.tv_nsec);
}

// What a timed stretch with nothing in it measures: the least of many tries.
inline double ClockCostNs() {
    double least = 1e9;
    for (int n = 0; n < 200; ++n) {
        const double start = ThreadCpuNs();
        least = std::min(least, ThreadCpuNs() - start);
    }
    return least;
}

// Each turn makes `workCalls` calls of the work and `floorCalls` of the floor, the two counts
// chosen so that both take some tens of microseconds and reading the clock costs next to
// nothing; times and the ratio are per call.
// `beforeWork` and `beforeFloor`, untimed, put the program in the state each is measured in.
template <class Work, class Floor, class BeforeWork = void (*)(), class BeforeFloor = void (*)()>
void RunPaired(
    benchmark::State& state, int workCalls, Work&& work, int floorCalls, Floor&& floor,
    BeforeWork beforeWork = [] {}, BeforeFloor beforeFloor = [] {}) {
    const double clockCost = ClockCostNs();
    auto timed = [clockCost](int calls, auto& what) {
        const double start = ThreadCpuNs();
        for (int call = 0; call < calls; ++call)
            what();
        return std::max(0.0, ThreadCpuNs() - start - clockCost) / calls;
    };
    double workTotal = 0, floorTotal = 0;
    bool workFirst = true;
    for (auto _ : state) {
        double workNs = 0, floorNs = 0;
        if (workFirst) {
            beforeWork();
            workNs = timed(workCalls, work);
            beforeFloor();
            floorNs = timed(floorCalls, floor);
        } else {
            beforeFloor();
            floorNs = timed(floorCalls, floor);
            beforeWork();
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

#pragma once

#include <chrono>

// Seconds since a point in time, for the benchmarks' figures.
using Clock = std::chrono::steady_clock;
inline double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

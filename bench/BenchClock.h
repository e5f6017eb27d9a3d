#pragma once

#include <functional>

// Timing and memory readings of the benchmark.
namespace BenchClock {

// The median, in milliseconds, of `runs` runs of `body`; `prepare` runs untimed before each.
double MedianMs(int runs, const std::function<void()>& prepare, const std::function<void()>& body);
double MedianMs(int runs, const std::function<void()>& body);
// The process's peak resident memory (VmHWM) in megabytes; 0 when it cannot be read.
double PeakMemoryMb();
// Starts the peak afresh from the present use (Linux: clear_refs), so each engine's figure 7 is
// its own.
void ResetPeakMemory();

}  // namespace BenchClock

#pragma once
// Timing helpers for korvex-bench: each scenario prints one line that ends in the ratio.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>

namespace korvex::bench {

inline double Seconds(const std::function<void()>& work) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    work();
    QueryPerformanceCounter(&end);
    return static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The best of several runs of each side, alternating, so that both see the same machine.
inline void Compare(const char* name, const char* what, const char* baselineWhat, int runs,
                    const std::function<double()>& ours, const std::function<double()>& baseline) {
    double bestOurs = 1e300, bestBase = 1e300;
    for (int i = 0; i < runs; ++i) {
        bestBase = std::min(bestBase, baseline());
        bestOurs = std::min(bestOurs, ours());
    }
    std::printf("%s %s: ours %.3f s, %s %.3f s, %.2fx\n", name, what, bestOurs, baselineWhat, bestBase,
                bestOurs / bestBase);
    std::fflush(stdout);
}

}  // namespace korvex::bench

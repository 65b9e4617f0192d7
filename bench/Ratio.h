#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace velmora::bench {

// Median seconds of the program's run and of the reference's, measured in alternating
// rounds so that both see the same caches and the same load on the machine.
struct Timing {
    double program = 0;
    double reference = 0;
    double ratio() const { return program / reference; }
};

template <typename Work>
double secondsOf(Work&& work, int repeats) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < repeats; ++i) {
        work();
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    return elapsed.count() / repeats;
}

inline double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// One warm-up of each first: the first read of a folder fills the page cache.
template <typename Program, typename Reference>
Timing compare(int rounds, int repeats, Program&& program, Reference&& reference) {
    program();
    reference();
    std::vector<double> programTimes, referenceTimes;
    for (int round = 0; round < rounds; ++round) {
        programTimes.push_back(secondsOf(program, repeats));
        referenceTimes.push_back(secondsOf(reference, repeats));
    }
    return {median(programTimes), median(referenceTimes)};
}

// Prints the figures and says whether the aim was met; the exit code stays 0 either way, a
// benchmark reports and does not judge.
inline void report(const char* what, const Timing& timing, double aim) {
    std::printf(
        "%s\n  program   %9.3f ms\n  reference %9.3f ms\n  ratio     %9.3f (aim: at most %.2f, "
        "%s)\n",
        what, timing.program * 1e3, timing.reference * 1e3, timing.ratio(), aim,
        timing.ratio() <= aim ? "met" : "NOT met");
}

}  // namespace velmora::bench

#pragma once

#include <algorithm>
#include <ctime>
#include <vector>

namespace orsan::bench {

// This thread's processor time: what the work costs, without the time
// other processes on a busy machine take from it.
inline double ThreadCpuUs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e6 + double(t.tv_nsec) / 1e3;
}

// The middle sample (reorders v): ratios of medians stand up to a busy machine.
inline double Median(std::vector<double>& v) {
    std::nth_element(v.begin(), v.begin() + long(v.size() / 2), v.end());
    return v[v.size() / 2];
}

}  // namespace orsan::bench

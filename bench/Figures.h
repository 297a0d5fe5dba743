#pragma once

// What the programs that time real jumps and starts share: a median, and the figure line
// scripts/bench collects.

#include <algorithm>
#include <cstdio>
#include <vector>

/// The middle value (the mean of the two middle ones for an even count); -1 when there is none.
inline double median(std::vector<double> values) {
    if (values.empty()) return -1;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

/// Prints "figure NAME VALUE"; "nan" for a negative value, which stands for nothing measured.
inline void figure(const char* name, double value) {
    if (value < 0)
        std::printf("figure %s nan\n", name);
    else
        std::printf("figure %s %.4f\n", name, value);
    std::fflush(stdout);
}

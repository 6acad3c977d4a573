#pragma once

// One row of the table tools/bench prints: what was measured, the value, the
// target and their ratio, scaled so that 1.00 is the target and a ratio up to
// 1.00 meets it.
#include <cstdio>
#include <string>

namespace bench {

inline void printHeader()
{
    std::printf("| %-58s | %14s | %16s | %6s | %-4s |\n", "measure", "value", "target", "ratio", "met");
    std::printf("|%s|%s|%s|%s|%s|\n", std::string(60, '-').c_str(), std::string(16, '-').c_str(),
                std::string(18, '-').c_str(), std::string(8, '-').c_str(), std::string(6, '-').c_str());
}

// A value that should stay at or below `limit`.
inline void rowAtMost(const std::string& what, double value, double limit, const char* unit, const char* format = "%.2f")
{
    char v[64], t[64];
    std::snprintf(v, sizeof v, format, value);
    std::snprintf(t, sizeof t, format, limit);
    const double ratio = value / limit;
    std::printf("| %-58s | %10s %-3s | <= %9s %-3s | %6.2f | %-4s |\n", what.c_str(), v, unit, t, unit, ratio,
                ratio <= 1.0 ? "yes" : "NO");
    std::fflush(stdout);
}

// A rate that should reach at least `floor`.
inline void rowAtLeast(const std::string& what, double value, double floor, const char* unit, const char* format = "%.2f")
{
    char v[64], t[64];
    std::snprintf(v, sizeof v, format, value);
    std::snprintf(t, sizeof t, format, floor);
    const double ratio = floor / value;
    std::printf("| %-58s | %10s %-3s | >= %9s %-3s | %6.2f | %-4s |\n", what.c_str(), v, unit, t, unit, ratio,
                ratio <= 1.0 ? "yes" : "NO");
    std::fflush(stdout);
}

}  // namespace bench

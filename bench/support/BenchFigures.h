#pragma once

#include <string>
#include <vector>

// The machine is shared: the minimum is the figure least disturbed by other
// work, the median the one a user is likely to see.
class BenchFigures {
public:
    void add(double value) { values_.push_back(value); }
    bool empty() const { return values_.empty(); }
    double min() const;
    double median() const;
    // "min / median" with the given number of decimals.
    std::string text(int decimals = 1) const;

private:
    std::vector<double> values_;
};

// At least this many runs of everything a benchmark compares.
inline constexpr int kBenchRuns = 5;

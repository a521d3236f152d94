#include "bench/support/BenchFigures.h"

#include <algorithm>
#include <cstdio>

double BenchFigures::min() const {
    return values_.empty() ? 0.0 : *std::min_element(values_.begin(), values_.end());
}

double BenchFigures::median() const {
    if (values_.empty()) {
        return 0.0;
    }
    std::vector<double> sorted = values_;
    std::sort(sorted.begin(), sorted.end());
    const std::size_t middle = sorted.size() / 2;
    return sorted.size() % 2 != 0 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
}

std::string BenchFigures::text(int decimals) const {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f / %.*f", decimals, min(), decimals, median());
    return buffer;
}

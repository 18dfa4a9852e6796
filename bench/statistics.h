#pragma once
// Median, quartiles and range of a set of measurements.
#include <cstddef>
#include <vector>

namespace windowbench {

struct Summary {
    double median = 0, q1 = 0, q3 = 0, min = 0, max = 0;
    std::size_t count = 0;
};

Summary summarise(std::vector<double> values);

} // namespace windowbench

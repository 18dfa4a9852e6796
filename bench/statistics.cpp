#include "statistics.h"

#include "clock.h"

#include <algorithm>

namespace windowbench {

namespace {

double quantile(const std::vector<double> &sorted, double q)
{
    const double position = q * static_cast<double>(sorted.size() - 1);
    const auto below = static_cast<std::size_t>(position);
    const std::size_t above = std::min(below + 1, sorted.size() - 1);
    const double fraction = position - static_cast<double>(below);
    return sorted[below] + (sorted[above] - sorted[below]) * fraction;
}

} // namespace

Summary summarise(std::vector<double> values)
{
    if (values.empty())
        fail("no values to summarise");
    std::sort(values.begin(), values.end());
    return { quantile(values, 0.5), quantile(values, 0.25), quantile(values, 0.75), values.front(), values.back(),
        values.size() };
}

} // namespace windowbench

#pragma once
// The figures of one benchmark run as a table: medians, quartiles and ranges,
// the ratios of the program to the baseline, and whether the targets are met.
#include "response.h"
#include "startup.h"

namespace windowbench {

struct Repetitions {
    int runs = 0;
    int warmup = 0;
    int rounds = 0;
};

void printReport(
    const Repetitions &repetitions, const Program &program, const Program &baseline, const Response &response);

} // namespace windowbench

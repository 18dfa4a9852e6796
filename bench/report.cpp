#include "report.h"

#include "statistics.h"

#include <cstdio>
#include <vector>

namespace windowbench {

namespace {

void printRow(const char *what, const char *unit, const Summary &s)
{
    std::printf("  %-34s %9.2f %s   IQR %8.2f .. %-8.2f  range %8.2f .. %-8.2f  (n=%zu)\n", what, s.median, unit, s.q1,
        s.q3, s.min, s.max, s.count);
}

const char *verdict(bool met)
{
    return met ? "met" : "NOT met";
}

} // namespace

void printReport(
    const Repetitions &repetitions, const Program &program, const Program &baseline, const Response &response)
{
    const Summary qStart = summarise(program.startMs);
    const Summary bStart = summarise(baseline.startMs);
    const Summary qPeak = summarise(program.peakKiB);
    const Summary bPeak = summarise(baseline.peakKiB);
    const Summary qCpu = summarise(program.cpuMs);
    const Summary find = summarise(response.findMs);
    const Summary back = summarise(response.backMs);
    const Summary bCpu = summarise(baseline.cpuMs);
    std::vector<double> startRatios;
    for (std::size_t i = 0; i < program.startMs.size(); ++i)
        startRatios.push_back(program.startMs[i] / baseline.startMs[i]);

    const char *q = program.reportName.c_str();
    const char *b = baseline.reportName.c_str();
    std::printf("Start-up to first mapped window, %d interleaved runs each after %d warm-up runs\n", repetitions.runs,
        repetitions.warmup);
    printRow(q, "ms ", qStart);
    printRow(b, "ms ", bStart);
    std::printf("CPU time used by then (all threads; a check on the wall time when the machine is busy)\n");
    printRow(q, "ms ", qCpu);
    printRow(b, "ms ", bCpu);
    std::printf("Peak resident memory (VmHWM) when the window maps\n");
    printRow(q, "KiB", qPeak);
    printRow(b, "KiB", bPeak);
    std::printf(
        "Response in one running %s, %d rounds after %d warm-up rounds\n", q, repetitions.rounds, repetitions.warmup);
    printRow("Find Object: Enter -> result mapped", "ms ", find);
    printRow("Back: Alt+B -> main window mapped", "ms ", back);
    const double startRatio = qStart.median / bStart.median;
    const double peakRatio = qPeak.median / bPeak.median;
    std::printf("Ratios, %s / %s\n", q, b);
    std::printf("  start-up (of medians)              %9.3f   (median of run pairs %.3f)\n", startRatio,
        summarise(startRatios).median);
    std::printf("  peak RSS (of medians)              %9.3f\n", peakRatio);
    std::printf("  CPU time to the window (of medians) %8.3f\n", qCpu.median / bCpu.median);
    std::printf("Targets: start-up ratio <= 1.10 %s; peak RSS ratio <= 1.10 %s; Find Object <= 15 ms %s;"
                " Back <= 15 ms %s\n",
        verdict(startRatio <= 1.10), verdict(peakRatio <= 1.10), verdict(find.median <= 15),
        verdict(back.median <= 15));
}

} // namespace windowbench

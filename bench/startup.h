#pragma once
// Start-up: from spawning a program to the X server's MapNotify of its first
// window with the expected title, with the CPU time and peak memory at that
// moment. Two programs take turns, one run each, after a warm-up, each in a
// fresh home.
#include "sandbox.h"

#include <string>
#include <utility>
#include <vector>

namespace windowbench {

class XServer;

inline constexpr double kTimeoutMs = 20000;

struct Program {
    Program(std::string label, std::string reportName, fs::path path, std::string title)
        : label(std::move(label))
        , reportName(std::move(reportName))
        , path(std::move(path))
        , title(std::move(title))
    {
    }

    std::string label; // names its throwaway folders
    std::string reportName;
    fs::path path;
    std::string title;
    fs::path seed; // settings file copied into every measured run's home
    std::vector<double> startMs;
    std::vector<double> peakKiB;
    std::vector<double> cpuMs;
};

struct StartupRuns {
    int warmup = 0;
    int runs = 0;
    bool seedBaseline = false; // when the baseline is another build of Quendril
};

// Seeds the settings, then fills the figures of both programs.
void measureStartup(XServer &x, const Places &places, Program &program, Program &baseline, const StartupRuns &runs);

} // namespace windowbench

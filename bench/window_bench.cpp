// Start-up and response benchmark for Quendril, side by side with a minimal
// Qt Widgets window, on the X server named by DISPLAY (an Xvfb without a
// window manager). What is measured, and how, is said in startup.h and
// response.h.
//
// Parts: x_server (watching the windows), xtest_keyboard (the keys),
// sandbox (throwaway homes and the programs in them), process_usage (CPU and
// memory from /proc), startup and response (the two measurements),
// statistics and report (the figures).
#include "clock.h"
#include "report.h"
#include "response.h"
#include "sandbox.h"
#include "startup.h"
#include "x_server.h"
#include "xtest_keyboard.h"

#include "product/product.h"

#include <cstdio>
#include <exception>
#include <string>

namespace windowbench {

namespace {

struct Options {
    fs::path program;
    fs::path baseline;
    std::string programTitle = QUENDRIL_CAPTION;
    std::string baselineTitle = "Minimal Qt Window";
    std::string programLabel = "quendril";
    std::string baselineLabel = "minimal Qt window";
    int runs = 9;
    int warmup = 2;
    int rounds = 25;
    bool seedBaseline = false; // when the baseline is another build of Quendril
};

Options parse(int argc, char **argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto value = [&]() -> std::string {
            if (i + 1 >= argc)
                fail("missing value after " + arg);
            return argv[++i];
        };
        if (arg == "--program")
            options.program = value();
        else if (arg == "--baseline")
            options.baseline = value();
        else if (arg == "--program-title")
            options.programTitle = value();
        else if (arg == "--baseline-title")
            options.baselineTitle = value();
        else if (arg == "--runs")
            options.runs = std::stoi(value());
        else if (arg == "--warmup")
            options.warmup = std::stoi(value());
        else if (arg == "--rounds")
            options.rounds = std::stoi(value());
        else if (arg == "--program-label")
            options.programLabel = value();
        else if (arg == "--baseline-label")
            options.baselineLabel = value();
        else if (arg == "--seed-baseline")
            options.seedBaseline = true;
        else
            fail("unknown argument " + arg
                + "\nusage: window_bench --program PATH --baseline PATH [--runs N] [--warmup N] [--rounds N]"
                  "\n       [--program-title T] [--baseline-title T] [--seed-baseline]"
                  "\n       [--program-label L] [--baseline-label L]");
    }
    if (options.program.empty() || options.baseline.empty())
        fail("both --program and --baseline are needed");
    if (options.runs < 1 || options.warmup < 0 || options.rounds < 1)
        fail("--runs and --rounds must be at least 1, --warmup at least 0");
    return options;
}

int run(int argc, char **argv)
{
    const Options options = parse(argc, argv);
    XServer x;
    XTestKeyboard keyboard(x);
    const Workspace workspace;
    const Places &places = workspace.places();

    Program quendril("program", options.programLabel, fs::absolute(options.program), options.programTitle);
    Program baseline("baseline", options.baselineLabel, fs::absolute(options.baseline), options.baselineTitle);
    measureStartup(x, places, quendril, baseline, { options.warmup, options.runs, options.seedBaseline });
    const Response response = measureResponse(x, keyboard, places, quendril, options.warmup, options.rounds);
    printReport({ options.runs, options.warmup, options.rounds }, quendril, baseline, response);
    return 0;
}

} // namespace

} // namespace windowbench

int main(int argc, char **argv)
{
    try {
        return windowbench::run(argc, argv);
    } catch (const std::exception &error) {
        std::fprintf(stderr, "window_bench: %s\n", error.what());
        return 1;
    }
}

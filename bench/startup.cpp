#include "startup.h"

#include "clock.h"
#include "x_server.h"

#include <functional>

namespace windowbench {

namespace {

// Starts the program in a fresh sandbox and waits for its first window with
// the expected title; records the time and the peak memory at that moment.
void startOnce(XServer &x, const Places &places, Program &program, int run,
    const std::function<void(const Sandbox &)> &afterMap = {})
{
    Sandbox sandbox(places, program.label + "-" + std::to_string(run), program.path, program.seed);
    x.drain();
    const auto started = Clock::now();
    Child child = sandbox.spawn(program.path);
    const auto window = x.waitForMap(
        child.pid(), [&](const MappedWindow &mapped) { return mapped.title == program.title; }, kTimeoutMs);
    if (!window)
        fail(program.label + ": no window titled \"" + program.title + "\" was mapped");
    if (afterMap)
        afterMap(sandbox);
    child.stop();
    x.waitForDestroy(window->id, 5000);
    program.startMs.push_back(millisecondsBetween(started, window->at));
    program.peakKiB.push_back(static_cast<double>(window->peakKiB));
    program.cpuMs.push_back(window->cpuMs);
}

void forgetFigures(Program &program)
{
    program.startMs.clear();
    program.peakKiB.clear();
    program.cpuMs.clear();
}

// Runs a first start and keeps the settings file it stored, for later runs.
void seed(XServer &x, const Places &places, Program &program)
{
    const fs::path kept = places.homes / (program.label + ".conf");
    startOnce(x, places, program, -1, [&](const Sandbox &sandbox) {
        if (!fs::exists(sandbox.settingsFile()))
            fail(program.label + ": the first start stored no settings file at " + sandbox.settingsFile().string());
        fs::copy_file(sandbox.settingsFile(), kept);
    });
    program.seed = kept;
}

} // namespace

void measureStartup(XServer &x, const Places &places, Program &program, Program &baseline, const StartupRuns &runs)
{
    // The very first start stores today's date. Every measured run gets a copy
    // of that file, so each is an ordinary start: read the date, no reminder.
    seed(x, places, program);
    if (runs.seedBaseline)
        seed(x, places, baseline);
    for (int i = 0; i < runs.warmup; ++i) {
        startOnce(x, places, program, -2 - i);
        startOnce(x, places, baseline, -2 - i);
    }
    forgetFigures(program);
    forgetFigures(baseline);

    for (int i = 0; i < runs.runs; ++i) {
        startOnce(x, places, program, i);
        startOnce(x, places, baseline, i);
    }
}

} // namespace windowbench

// Start-up and response benchmark for Quendril, side by side with a minimal
// Qt Widgets window, on the X server named by DISPLAY (an Xvfb without a
// window manager).
//
// Start-up: the time from spawning the program to the X server's MapNotify
// of its first window with the expected title, and the program's peak
// resident memory (VmHWM) read the moment that notification arrives. The two
// programs take turns, one run each, after a warm-up, each in a fresh home.
//
// Response: in one running Quendril, the time from the Enter key in the
// filled number box to the result window's MapNotify, and from Alt+B in the
// result window to the main window's MapNotify. Keys go through the XTEST
// extension, so the program receives them as real key presses.
#include <xcb/xcb.h>
#include <xcb/xcbext.h>

#include <sys/uio.h>
#include <sys/wait.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

Clock::time_point after(double ms)
{
    return Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double, std::milli>(ms));
}

[[noreturn]] void fail(const std::string &what)
{
    throw std::runtime_error(what);
}

// ---------------------------------------------------------------------------
// Figures

struct Summary {
    double median = 0, q1 = 0, q3 = 0, min = 0, max = 0;
    std::size_t count = 0;
};

double quantile(const std::vector<double> &sorted, double q)
{
    const double position = q * static_cast<double>(sorted.size() - 1);
    const auto below = static_cast<std::size_t>(position);
    const std::size_t above = std::min(below + 1, sorted.size() - 1);
    const double fraction = position - static_cast<double>(below);
    return sorted[below] + (sorted[above] - sorted[below]) * fraction;
}

Summary summarise(std::vector<double> values)
{
    if (values.empty())
        fail("no values to summarise");
    std::sort(values.begin(), values.end());
    return { quantile(values, 0.5), quantile(values, 0.25), quantile(values, 0.75), values.front(), values.back(),
        values.size() };
}

// ---------------------------------------------------------------------------
// The X server

struct MappedWindow {
    xcb_window_t id = XCB_NONE;
    Clock::time_point at;
    std::string title;
    long peakKiB = -1; // VmHWM of the watched process when the map arrived
    double cpuMs = -1; // CPU time its threads had used by then
};

// The CPU time all threads of a process have run, from the scheduler's
// statistics in nanoseconds: unlike the wall time it hardly depends on what
// else the machine is doing.
double cpuMilliseconds(pid_t pid)
{
    std::error_code error;
    double total = 0;
    for (const auto &task : fs::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
        std::ifstream schedstat(task.path() / "schedstat");
        double onCpuNs = 0;
        if (schedstat >> onCpuNs)
            total += onCpuNs / 1e6;
    }
    return error ? -1 : total;
}

long peakResidentKiB(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

class XServer {
public:
    XServer()
    {
        m_connection = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(m_connection))
            fail("cannot connect to the X server named by DISPLAY");
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        if (xcb_request_check(
                m_connection, xcb_change_window_attributes_checked(m_connection, m_root, XCB_CW_EVENT_MASK, &mask)))
            fail("cannot watch the root window (is a window manager running?)");
        m_netWmName = atom("_NET_WM_NAME");
        m_utf8String = atom("UTF8_STRING");
        findXTest();
        loadKeyboardMapping();
    }
    ~XServer() { xcb_disconnect(m_connection); }
    XServer(const XServer &) = delete;
    XServer &operator=(const XServer &) = delete;

    // Waits for a window to be mapped that `wanted` accepts; the clock is read
    // as the notification comes off the wire, before any question is asked.
    std::optional<MappedWindow> waitForMap(
        pid_t watched, const std::function<bool(const MappedWindow &)> &wanted, double timeoutMs)
    {
        const auto deadline = after(timeoutMs);
        while (true) {
            xcb_generic_event_t *event = nextEvent(deadline);
            if (!event)
                return std::nullopt;
            const auto now = Clock::now();
            std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> owner(event, &std::free);
            if ((event->response_type & 0x7f) != XCB_MAP_NOTIFY)
                continue;
            const auto *map = reinterpret_cast<xcb_map_notify_event_t *>(event);
            MappedWindow window { map->window, now, {}, -1, -1 };
            if (watched > 0) {
                window.peakKiB = peakResidentKiB(watched);
                window.cpuMs = cpuMilliseconds(watched);
            }
            window.title = title(window.id);
            if (wanted(window))
                return window;
        }
    }

    // Waits until the server has destroyed a window (after its owner died).
    bool waitForDestroy(xcb_window_t id, double timeoutMs)
    {
        const auto deadline = after(timeoutMs);
        while (xcb_generic_event_t *event = nextEvent(deadline)) {
            const bool gone = (event->response_type & 0x7f) == XCB_DESTROY_NOTIFY
                && reinterpret_cast<xcb_destroy_notify_event_t *>(event)->window == id;
            std::free(event);
            if (gone)
                return true;
        }
        return false;
    }

    // Throws away every notification received so far.
    void drain()
    {
        std::free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
        while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection))
            std::free(event);
    }

    void focus(xcb_window_t window)
    {
        xcb_set_input_focus(m_connection, XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME);
        std::free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    }

    // A press or release of the key that types this keysym without modifiers.
    void key(uint32_t keysym, bool press)
    {
        const auto code = keycodeFor(keysym);
        // XTestFakeInput: 36 bytes; xcb puts the extension's opcode in byte 0
        // when the request names no extension, and fills in the length.
        uint8_t request[36] = {};
        request[0] = m_xtestOpcode;
        request[1] = 2; // X_XTestFakeInput
        request[4] = press ? XCB_KEY_PRESS : XCB_KEY_RELEASE;
        request[5] = code;
        std::memcpy(request + 12, &m_root, sizeof m_root);
        iovec parts[3] = {};
        parts[2].iov_base = request;
        parts[2].iov_len = sizeof request;
        xcb_protocol_request_t kind = {};
        kind.count = 1;
        kind.ext = nullptr;
        kind.opcode = m_xtestOpcode;
        kind.isvoid = 1;
        xcb_send_request(m_connection, 0, parts + 2, &kind);
        xcb_flush(m_connection);
    }

    void tap(uint32_t keysym)
    {
        key(keysym, true);
        key(keysym, false);
    }

private:
    xcb_atom_t atom(const char *name)
    {
        auto *reply = xcb_intern_atom_reply(
            m_connection, xcb_intern_atom(m_connection, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
        if (!reply)
            fail(std::string("cannot intern ") + name);
        const xcb_atom_t atom = reply->atom;
        std::free(reply);
        return atom;
    }

    std::string property(xcb_window_t window, xcb_atom_t name, xcb_atom_t type)
    {
        auto *reply = xcb_get_property_reply(
            m_connection, xcb_get_property(m_connection, 0, window, name, type, 0, 1024), nullptr);
        if (!reply)
            return {};
        std::string value(static_cast<const char *>(xcb_get_property_value(reply)),
            static_cast<std::size_t>(xcb_get_property_value_length(reply)));
        std::free(reply);
        return value;
    }

    std::string title(xcb_window_t window)
    {
        std::string name = property(window, m_netWmName, m_utf8String);
        if (name.empty())
            name = property(window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING);
        return name;
    }

    xcb_generic_event_t *nextEvent(Clock::time_point deadline)
    {
        while (true) {
            if (xcb_generic_event_t *event = xcb_poll_for_event(m_connection))
                return event;
            if (xcb_connection_has_error(m_connection))
                fail("lost the X server");
            const double left = millisecondsBetween(Clock::now(), deadline);
            if (left <= 0)
                return nullptr;
            pollfd descriptor { xcb_get_file_descriptor(m_connection), POLLIN, 0 };
            ::poll(&descriptor, 1, static_cast<int>(left) + 1);
        }
    }

    void findXTest()
    {
        const char name[] = "XTEST";
        auto *reply = xcb_query_extension_reply(
            m_connection, xcb_query_extension(m_connection, sizeof name - 1, name), nullptr);
        if (!reply || !reply->present)
            fail("the X server has no XTEST extension");
        m_xtestOpcode = reply->major_opcode;
        std::free(reply);
    }

    void loadKeyboardMapping()
    {
        const xcb_setup_t *setup = xcb_get_setup(m_connection);
        m_firstKeycode = setup->min_keycode;
        const uint8_t count = static_cast<uint8_t>(setup->max_keycode - setup->min_keycode + 1);
        auto *reply = xcb_get_keyboard_mapping_reply(
            m_connection, xcb_get_keyboard_mapping(m_connection, m_firstKeycode, count), nullptr);
        if (!reply)
            fail("cannot read the keyboard mapping");
        m_keysymsPerCode = reply->keysyms_per_keycode;
        const xcb_keysym_t *keysyms = xcb_get_keyboard_mapping_keysyms(reply);
        m_keysyms.assign(keysyms, keysyms + xcb_get_keyboard_mapping_keysyms_length(reply));
        std::free(reply);
    }

    uint8_t keycodeFor(uint32_t keysym) const
    {
        for (std::size_t i = 0; i < m_keysyms.size(); i += m_keysymsPerCode) {
            if (m_keysyms[i] == keysym)
                return static_cast<uint8_t>(m_firstKeycode + i / m_keysymsPerCode);
        }
        fail("no key types keysym " + std::to_string(keysym));
    }

    xcb_connection_t *m_connection = nullptr;
    xcb_window_t m_root = XCB_NONE;
    xcb_atom_t m_netWmName = XCB_NONE;
    xcb_atom_t m_utf8String = XCB_NONE;
    uint8_t m_xtestOpcode = 0;
    uint8_t m_firstKeycode = 0;
    uint8_t m_keysymsPerCode = 1;
    std::vector<xcb_keysym_t> m_keysyms;
};

constexpr uint32_t kReturn = 0xff0d;
constexpr uint32_t kAltLeft = 0xffe9;
constexpr uint32_t kLetterB = 'b';

// ---------------------------------------------------------------------------
// Throwaway homes and the programs in them

// Where the throwaway folders go: homes on disk, runtime directories on a
// tmpfs where there is one, as a login session has them (/run/user/<uid>).
struct Places {
    fs::path homes;
    fs::path runtimes;
    fs::path browserDir;
};

// A fresh home, configuration and runtime directory for one run; the
// settings file may be seeded from an earlier run.
class Sandbox {
public:
    Sandbox(const Places &places, const std::string &name, const fs::path &program, const fs::path &seedConfig)
        : m_dir(places.homes / name)
        , m_runtime(places.runtimes / name)
        , m_settingsName(program.stem())
    {
        fs::create_directories(home() / ".config");
        fs::create_directories(runtime());
        fs::permissions(runtime(), fs::perms::owner_all, fs::perm_options::replace);
        if (!seedConfig.empty()) {
            fs::create_directories(settingsFile().parent_path());
            fs::copy_file(seedConfig, settingsFile());
        }
        m_env = {
            "HOME=" + home().string(),
            "XDG_CONFIG_HOME=" + (home() / ".config").string(),
            "XDG_CACHE_HOME=" + (home() / ".cache").string(),
            "XDG_DATA_HOME=" + (home() / ".local/share").string(),
            "XDG_RUNTIME_DIR=" + runtime().string(),
            "PATH=" + places.browserDir.string() + ":" + (std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin:/bin"),
        };
        for (char **entry = environ; *entry; ++entry) {
            const std::string variable = *entry;
            const std::string name = variable.substr(0, variable.find('='));
            if (name != "HOME" && name != "PATH" && name.rfind("XDG_", 0) != 0)
                m_env.push_back(variable);
        }
    }
    ~Sandbox()
    {
        std::error_code ignored;
        fs::remove_all(m_dir, ignored);
        fs::remove_all(m_runtime, ignored);
    }
    Sandbox(const Sandbox &) = delete;
    Sandbox &operator=(const Sandbox &) = delete;

    fs::path home() const { return m_dir / "home"; }
    fs::path runtime() const { return m_runtime; }
    // Where the program keeps its setting: named after its executable.
    fs::path settingsFile() const { return home() / ".config" / m_settingsName / (m_settingsName.string() + ".conf"); }

    pid_t spawn(const fs::path &program) const
    {
        std::vector<char *> env;
        for (const std::string &variable : m_env)
            env.push_back(const_cast<char *>(variable.c_str()));
        env.push_back(nullptr);
        const std::string path = program.string();
        char *argv[] = { const_cast<char *>(path.c_str()), nullptr };
        pid_t pid = 0;
        if (const int error = posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv, env.data()))
            fail("cannot start " + path + ": " + std::strerror(error));
        return pid;
    }

private:
    fs::path m_dir;
    fs::path m_runtime;
    fs::path m_settingsName;
    std::vector<std::string> m_env;
};

void stop(pid_t pid)
{
    ::kill(pid, SIGKILL);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) { }
}

struct Program {
    std::string label;
    fs::path path;
    std::string title;
    fs::path seed; // settings file copied into every measured run's home
    std::vector<double> startMs;
    std::vector<double> peakKiB;
    std::vector<double> cpuMs;
};

constexpr double kTimeoutMs = 20000;

// Starts the program in a fresh sandbox and waits for its first window with
// the expected title; gives the time and the peak memory at that moment.
MappedWindow startOnce(XServer &x, const Places &places, Program &program, int run,
    const std::function<void(const Sandbox &)> &afterMap = {})
{
    Sandbox sandbox(places, program.label + "-" + std::to_string(run), program.path, program.seed);
    x.drain();
    const auto started = Clock::now();
    const pid_t pid = sandbox.spawn(program.path);
    const auto window = x.waitForMap(
        pid, [&](const MappedWindow &mapped) { return mapped.title == program.title; }, kTimeoutMs);
    if (!window) {
        stop(pid);
        fail(program.label + ": no window titled \"" + program.title + "\" was mapped");
    }
    if (afterMap) {
        try {
            afterMap(sandbox);
        } catch (...) {
            stop(pid);
            throw;
        }
    }
    stop(pid);
    x.waitForDestroy(window->id, 5000);
    MappedWindow result = *window;
    program.startMs.push_back(millisecondsBetween(started, window->at));
    program.peakKiB.push_back(static_cast<double>(window->peakKiB));
    program.cpuMs.push_back(window->cpuMs);
    return result;
}

void settle(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
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

struct Response {
    std::vector<double> findMs;
    std::vector<double> backMs;
};

Response measureResponse(XServer &x, const Places &places, const Program &quendril, int warmup, int rounds)
{
    Sandbox sandbox(places, "response", quendril.path, quendril.seed);
    x.drain();
    const pid_t pid = sandbox.spawn(quendril.path);
    const auto titled = [&](const MappedWindow &mapped) { return mapped.title == quendril.title; };
    const auto main = x.waitForMap(pid, titled, kTimeoutMs);
    if (!main) {
        stop(pid);
        fail("response: the main window did not come up");
    }
    settle(300);
    x.focus(main->id);
    settle(50);
    for (const char digit : std::string("123456789")) {
        x.tap(static_cast<uint32_t>(digit));
        settle(10);
    }
    settle(200);

    Response response;
    for (int round = 0; round < warmup + rounds; ++round) {
        x.focus(main->id);
        settle(50);
        x.drain();
        const auto pressed = Clock::now();
        x.tap(kReturn);
        const auto result = x.waitForMap(
            pid, [&](const MappedWindow &mapped) { return titled(mapped) && mapped.id != main->id; }, kTimeoutMs);
        if (!result) {
            stop(pid);
            fail("response: Enter brought no result window");
        }
        settle(150);
        x.focus(result->id);
        settle(50);
        x.drain();
        x.key(kAltLeft, true);
        const auto back = Clock::now();
        x.tap(kLetterB);
        x.key(kAltLeft, false);
        const auto again = x.waitForMap(
            pid, [&](const MappedWindow &mapped) { return mapped.id == main->id; }, kTimeoutMs);
        if (!again) {
            stop(pid);
            fail("response: Alt+B did not bring the main window back");
        }
        if (round >= warmup) {
            response.findMs.push_back(millisecondsBetween(pressed, result->at));
            response.backMs.push_back(millisecondsBetween(back, again->at));
        }
        settle(150);
    }
    stop(pid);
    x.waitForDestroy(main->id, 5000);
    return response;
}

// ---------------------------------------------------------------------------
// Report

void printRow(const char *what, const char *unit, const Summary &s)
{
    std::printf("  %-34s %9.2f %s   IQR %8.2f .. %-8.2f  range %8.2f .. %-8.2f  (n=%zu)\n", what, s.median, unit, s.q1,
        s.q3, s.min, s.max, s.count);
}

struct Options {
    fs::path program;
    fs::path baseline;
    std::string programTitle = "Vasq Quendril v1.15";
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

// A folder of our own under a base folder, removed with everything in it.
struct TemporaryFolder {
    explicit TemporaryFolder(const fs::path &base)
    {
        std::string pattern = (base / "quendril-bench.XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            fail("cannot make a temporary folder under " + base.string());
        path = pattern;
    }
    ~TemporaryFolder()
    {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    TemporaryFolder(const TemporaryFolder &) = delete;
    TemporaryFolder &operator=(const TemporaryFolder &) = delete;
    fs::path path;
};

int run(int argc, char **argv)
{
    const Options options = parse(argc, argv);
    XServer x;

    const TemporaryFolder homes("/tmp");
    const TemporaryFolder runtimes(fs::is_directory("/dev/shm") ? "/dev/shm" : "/tmp");
    const Places places { homes.path, runtimes.path, homes.path / "bin" };

    // A browser stand-in, so that nothing the program opens leaves the machine.
    fs::create_directories(places.browserDir);
    {
        std::ofstream script(places.browserDir / "xdg-open");
        script << "#!/bin/sh\nexit 0\n";
    }
    fs::permissions(places.browserDir / "xdg-open", fs::perms::owner_all, fs::perm_options::replace);

    Program quendril { "program", fs::absolute(options.program), options.programTitle, {}, {}, {}, {} };
    Program baseline { "baseline", fs::absolute(options.baseline), options.baselineTitle, {}, {}, {}, {} };

    // The very first start stores today's date. Every measured run gets a copy
    // of that file, so each is an ordinary start: read the date, no reminder.
    seed(x, places, quendril);
    if (options.seedBaseline)
        seed(x, places, baseline);
    for (int i = 0; i < options.warmup; ++i) {
        startOnce(x, places, quendril, -2 - i);
        startOnce(x, places, baseline, -2 - i);
    }
    quendril.startMs.clear();
    quendril.peakKiB.clear();
    quendril.cpuMs.clear();
    baseline.startMs.clear();
    baseline.peakKiB.clear();
    baseline.cpuMs.clear();

    for (int i = 0; i < options.runs; ++i) {
        startOnce(x, places, quendril, i);
        startOnce(x, places, baseline, i);
    }

    const Response response = measureResponse(x, places, quendril, options.warmup, options.rounds);

    const Summary qStart = summarise(quendril.startMs);
    const Summary bStart = summarise(baseline.startMs);
    const Summary qPeak = summarise(quendril.peakKiB);
    const Summary bPeak = summarise(baseline.peakKiB);
    const Summary qCpu = summarise(quendril.cpuMs);
    const Summary find = summarise(response.findMs);
    const Summary back = summarise(response.backMs);
    const Summary bCpu = summarise(baseline.cpuMs);
    std::vector<double> startRatios;
    for (std::size_t i = 0; i < quendril.startMs.size(); ++i)
        startRatios.push_back(quendril.startMs[i] / baseline.startMs[i]);

    std::printf("Start-up to first mapped window, %d interleaved runs each after %d warm-up runs\n", options.runs,
        options.warmup);
    printRow(options.programLabel.c_str(), "ms ", qStart);
    printRow(options.baselineLabel.c_str(), "ms ", bStart);
    std::printf("CPU time used by then (all threads; a check on the wall time when the machine is busy)\n");
    printRow(options.programLabel.c_str(), "ms ", qCpu);
    printRow(options.baselineLabel.c_str(), "ms ", bCpu);
    std::printf("Peak resident memory (VmHWM) when the window maps\n");
    printRow(options.programLabel.c_str(), "KiB", qPeak);
    printRow(options.baselineLabel.c_str(), "KiB", bPeak);
    std::printf("Response in one running %s, %d rounds after %d warm-up rounds\n", options.programLabel.c_str(),
        options.rounds, options.warmup);
    printRow("Find Object: Enter -> result mapped", "ms ", find);
    printRow("Back: Alt+B -> main window mapped", "ms ", back);
    const double startRatio = qStart.median / bStart.median;
    const double peakRatio = qPeak.median / bPeak.median;
    const auto verdict = [](bool met) { return met ? "met" : "NOT met"; };
    std::printf("Ratios, %s / %s\n", options.programLabel.c_str(), options.baselineLabel.c_str());
    std::printf("  start-up (of medians)              %9.3f   (median of run pairs %.3f)\n", startRatio,
        summarise(startRatios).median);
    std::printf("  peak RSS (of medians)              %9.3f\n", peakRatio);
    std::printf("  CPU time to the window (of medians) %8.3f\n", qCpu.median / bCpu.median);
    std::printf("Targets: start-up ratio <= 1.10 %s; peak RSS ratio <= 1.10 %s; Find Object <= 15 ms %s;"
                " Back <= 15 ms %s\n",
        verdict(startRatio <= 1.10), verdict(peakRatio <= 1.10), verdict(find.median <= 15),
        verdict(back.median <= 15));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    try {
        return run(argc, argv);
    } catch (const std::exception &error) {
        std::fprintf(stderr, "window_bench: %s\n", error.what());
        return 1;
    }
}

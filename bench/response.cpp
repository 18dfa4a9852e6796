#include "response.h"

#include "clock.h"
#include "x_server.h"
#include "xtest_keyboard.h"

#include <chrono>
#include <functional>
#include <string>
#include <thread>

namespace windowbench {

namespace {

void settle(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

MappedWindow expectMap(
    XServer &x, const Child &child, const std::function<bool(const MappedWindow &)> &wanted, const char *otherwise)
{
    const auto window = x.waitForMap(child.pid(), wanted, kTimeoutMs);
    if (!window)
        fail(std::string("response: ") + otherwise);
    return *window;
}

} // namespace

Response measureResponse(
    XServer &x, XTestKeyboard &keyboard, const Places &places, const Program &quendril, int warmup, int rounds)
{
    Sandbox sandbox(places, "response", quendril.path, quendril.seed);
    x.drain();
    Child child = sandbox.spawn(quendril.path);
    const auto titled = [&](const MappedWindow &mapped) { return mapped.title == quendril.title; };
    const MappedWindow main = expectMap(x, child, titled, "the main window did not come up");
    settle(300);
    x.focus(main.id);
    settle(50);
    for (const char digit : std::string("123456789")) {
        keyboard.tap(static_cast<uint32_t>(digit));
        settle(10);
    }
    settle(200);

    Response response;
    for (int round = 0; round < warmup + rounds; ++round) {
        x.focus(main.id);
        settle(50);
        x.drain();
        const auto pressed = Clock::now();
        keyboard.tap(kReturn);
        const MappedWindow result = expectMap(
            x, child, [&](const MappedWindow &mapped) { return titled(mapped) && mapped.id != main.id; },
            "Enter brought no result window");
        settle(150);
        x.focus(result.id);
        settle(50);
        x.drain();
        keyboard.key(kAltLeft, true);
        const auto back = Clock::now();
        keyboard.tap(kLetterB);
        keyboard.key(kAltLeft, false);
        const MappedWindow again = expectMap(
            x, child, [&](const MappedWindow &mapped) { return mapped.id == main.id; },
            "Alt+B did not bring the main window back");
        if (round >= warmup) {
            response.findMs.push_back(millisecondsBetween(pressed, result.at));
            response.backMs.push_back(millisecondsBetween(back, again.at));
        }
        settle(150);
    }
    child.stop();
    x.waitForDestroy(main.id, 5000);
    return response;
}

} // namespace windowbench

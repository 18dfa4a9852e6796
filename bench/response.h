#pragma once
// Response: in one running Quendril, the time from the Enter key in the
// filled number box to the result window's MapNotify, and from Alt+B in the
// result window to the main window's MapNotify.
#include "startup.h"

#include <vector>

namespace windowbench {

class XServer;
class XTestKeyboard;

struct Response {
    std::vector<double> findMs;
    std::vector<double> backMs;
};

Response measureResponse(
    XServer &x, XTestKeyboard &keyboard, const Places &places, const Program &quendril, int warmup, int rounds);

} // namespace windowbench

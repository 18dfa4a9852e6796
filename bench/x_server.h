#pragma once
// The X server named by DISPLAY, watched through XCB: which windows it maps
// and destroys, and when, without polling. Needs a server without a window
// manager, since only one client may watch the root window's children.
#include "clock.h"

#include <xcb/xcb.h>

#include <sys/types.h>

#include <functional>
#include <optional>
#include <string>

namespace windowbench {

struct MappedWindow {
    xcb_window_t id = XCB_NONE;
    Clock::time_point at;
    std::string title;
    long peakKiB = -1; // VmHWM of the watched process when the map arrived
    double cpuMs = -1; // CPU time its threads had used by then
};

class XServer {
public:
    XServer();
    ~XServer();
    XServer(const XServer &) = delete;
    XServer &operator=(const XServer &) = delete;

    // Waits for a window to be mapped that `wanted` accepts; the clock is read
    // as the notification comes off the wire, before any question is asked.
    std::optional<MappedWindow> waitForMap(
        pid_t watched, const std::function<bool(const MappedWindow &)> &wanted, double timeoutMs);

    // Waits until the server has destroyed a window (after its owner died).
    bool waitForDestroy(xcb_window_t id, double timeoutMs);

    // Throws away every notification received so far.
    void drain();

    void focus(xcb_window_t window);

    xcb_connection_t *connection() const { return m_connection; }
    xcb_window_t root() const { return m_root; }

private:
    void roundTrip();
    xcb_atom_t atom(const char *name);
    std::string property(xcb_window_t window, xcb_atom_t name, xcb_atom_t type);
    std::string title(xcb_window_t window);
    xcb_generic_event_t *nextEvent(Clock::time_point deadline);

    xcb_connection_t *m_connection = nullptr;
    xcb_window_t m_root = XCB_NONE;
    xcb_atom_t m_netWmName = XCB_NONE;
    xcb_atom_t m_utf8String = XCB_NONE;
};

} // namespace windowbench

#include "x_server.h"

#include "process_usage.h"

#include <poll.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace windowbench {

XServer::XServer()
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
}

XServer::~XServer()
{
    xcb_disconnect(m_connection);
}

std::optional<MappedWindow> XServer::waitForMap(
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

bool XServer::waitForDestroy(xcb_window_t id, double timeoutMs)
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

void XServer::drain()
{
    roundTrip();
    while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection))
        std::free(event);
}

void XServer::focus(xcb_window_t window)
{
    xcb_set_input_focus(m_connection, XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME);
    roundTrip();
}

// A request with a reply: once it is back, the server has handled everything
// sent before it and every notification caused by that has arrived.
void XServer::roundTrip()
{
    std::free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
}

xcb_atom_t XServer::atom(const char *name)
{
    auto *reply = xcb_intern_atom_reply(
        m_connection, xcb_intern_atom(m_connection, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    if (!reply)
        fail(std::string("cannot intern ") + name);
    const xcb_atom_t atom = reply->atom;
    std::free(reply);
    return atom;
}

std::string XServer::property(xcb_window_t window, xcb_atom_t name, xcb_atom_t type)
{
    auto *reply
        = xcb_get_property_reply(m_connection, xcb_get_property(m_connection, 0, window, name, type, 0, 1024), nullptr);
    if (!reply)
        return {};
    std::string value(static_cast<const char *>(xcb_get_property_value(reply)),
        static_cast<std::size_t>(xcb_get_property_value_length(reply)));
    std::free(reply);
    return value;
}

std::string XServer::title(xcb_window_t window)
{
    std::string name = property(window, m_netWmName, m_utf8String);
    if (name.empty())
        name = property(window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING);
    return name;
}

xcb_generic_event_t *XServer::nextEvent(Clock::time_point deadline)
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

} // namespace windowbench

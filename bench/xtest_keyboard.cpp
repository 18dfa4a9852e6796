#include "xtest_keyboard.h"

#include "clock.h"
#include "x_server.h"

#include <xcb/xcbext.h>

#include <sys/uio.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace windowbench {

XTestKeyboard::XTestKeyboard(const XServer &x)
    : m_connection(x.connection())
    , m_root(x.root())
{
    findXTest();
    loadKeyboardMapping();
}

void XTestKeyboard::key(uint32_t keysym, bool press)
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

void XTestKeyboard::tap(uint32_t keysym)
{
    key(keysym, true);
    key(keysym, false);
}

void XTestKeyboard::findXTest()
{
    const char name[] = "XTEST";
    auto *reply
        = xcb_query_extension_reply(m_connection, xcb_query_extension(m_connection, sizeof name - 1, name), nullptr);
    if (!reply || !reply->present)
        fail("the X server has no XTEST extension");
    m_xtestOpcode = reply->major_opcode;
    std::free(reply);
}

void XTestKeyboard::loadKeyboardMapping()
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

uint8_t XTestKeyboard::keycodeFor(uint32_t keysym) const
{
    for (std::size_t i = 0; i < m_keysyms.size(); i += m_keysymsPerCode) {
        if (m_keysyms[i] == keysym)
            return static_cast<uint8_t>(m_firstKeycode + i / m_keysymsPerCode);
    }
    fail("no key types keysym " + std::to_string(keysym));
}

} // namespace windowbench

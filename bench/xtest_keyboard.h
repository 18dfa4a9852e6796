#pragma once
// Key presses sent through the XTEST extension, so that the program under
// test receives them as real key presses from the keyboard.
#include <xcb/xcb.h>

#include <cstdint>
#include <vector>

namespace windowbench {

class XServer;

constexpr uint32_t kReturn = 0xff0d;
constexpr uint32_t kAltLeft = 0xffe9;
constexpr uint32_t kLetterB = 'b';

class XTestKeyboard {
public:
    explicit XTestKeyboard(const XServer &x);

    // A press or release of the key that types this keysym without modifiers.
    void key(uint32_t keysym, bool press);
    void tap(uint32_t keysym);

private:
    void findXTest();
    void loadKeyboardMapping();
    uint8_t keycodeFor(uint32_t keysym) const;

    xcb_connection_t *m_connection = nullptr;
    xcb_window_t m_root = XCB_NONE;
    uint8_t m_xtestOpcode = 0;
    uint8_t m_firstKeycode = 0;
    uint8_t m_keysymsPerCode = 1;
    std::vector<xcb_keysym_t> m_keysyms;
};

} // namespace windowbench

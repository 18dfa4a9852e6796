#pragma once

#include <QKeyEvent>

#include <cstdint>
#include <optional>

namespace quendril::windows {

// The character code a key press delivers to a character event, or nothing
// when the key types no character (arrows, Delete, function keys, modifiers).
// Ctrl with a letter gives the control code 1..26 on every platform, so that
// Ctrl+V (22) is seen as the paste key even where the system sends no text.
// A key that types several characters at once is judged by its first.
inline std::optional<std::int16_t> characterCode(const QKeyEvent &event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    if (modifiers == Qt::ControlModifier && event.key() >= Qt::Key_A && event.key() <= Qt::Key_Z)
        return static_cast<std::int16_t>(event.key() - Qt::Key_A + 1);
    const QString text = event.text();
    if (text.isEmpty() || event.key() == Qt::Key_Delete)
        return std::nullopt;
    return static_cast<std::int16_t>(text.at(0).unicode());
}

} // namespace quendril::windows

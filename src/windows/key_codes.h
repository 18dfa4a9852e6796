#pragma once

#include <QKeyEvent>

#include <cstdint>
#include <optional>

namespace quendril::forms {

// The character code a key press delivers to a character event, or nothing
// when the key types no character (arrows, Delete, function keys, modifiers).
// A key that types several characters at once is judged by its first.
inline std::optional<std::int16_t> characterCode(const QKeyEvent &event)
{
    const QString text = event.text();
    if (text.isEmpty() || event.key() == Qt::Key_Delete)
        return std::nullopt;
    return static_cast<std::int16_t>(text.at(0).unicode());
}

} // namespace quendril::forms

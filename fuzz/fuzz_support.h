#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// A property that must hold for every input; a broken one ends the run as a
// finding, with the input saved by libFuzzer.
#define FUZZ_CHECK(condition)                                                                                          \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition);                      \
            std::abort();                                                                                              \
        }                                                                                                              \
    } while (false)

namespace quendril::fuzz {

enum class TextKind { Latin1, Utf8, Utf16 };

inline TextKind textKind(std::uint8_t selector)
{
    switch (selector % 3) {
    case 0:
        return TextKind::Latin1;
    case 1:
        return TextKind::Utf8;
    default:
        return TextKind::Utf16;
    }
}

// Bytes read as a text of the given kind. As UTF-16 every code unit can
// occur, lone surrogates and NUL included; UTF-8 turns broken sequences into
// replacement characters as text pasted from outside would.
inline QString textFromBytes(TextKind kind, const std::uint8_t *data, std::size_t size)
{
    const auto *chars = reinterpret_cast<const char *>(data);
    switch (kind) {
    case TextKind::Latin1:
        return QString::fromLatin1(chars, static_cast<qsizetype>(size));
    case TextKind::Utf8:
        return QString::fromUtf8(chars, static_cast<qsizetype>(size));
    case TextKind::Utf16:
        break;
    }
    QString text;
    text.reserve(static_cast<qsizetype>(size / 2));
    for (std::size_t i = 0; i + 1 < size; i += 2)
        text.append(QChar(static_cast<char16_t>(data[i] | (data[i + 1] << 8))));
    return text;
}

// The first byte picks the kind, the rest is the text.
inline QString textFromBytes(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return {};
    return textFromBytes(textKind(data[0]), data + 1, size - 1);
}

} // namespace quendril::fuzz

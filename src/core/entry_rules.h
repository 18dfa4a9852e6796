#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>

namespace quendril::core {

inline const QString kOnlyNumbersMessage = QStringLiteral("Please Enter Only Numbers");

// The key filter of the number box: may a typed character with this code
// reach the box? Digits, the codes 0..9, Backspace, Enter and space pass.
constexpr bool keyCodePasses(std::int16_t code)
{
    if ((code >= 0 && code <= 9) || (code >= '0' && code <= '9'))
        return true;
    return code == 8 || code == 13 || code == 32;
}

enum class EntryVerdict {
    Accepted,
    Empty,
    TooManyZeros,
    TooShort,
    SameDigit,
};

// The rules a whole entry must pass before a reading is computed, in their
// fixed order; only the first nine characters are ever looked at.
EntryVerdict checkEntry(QStringView entry);

// The message shown for a refused entry; empty for an accepted one.
QString entryMessage(EntryVerdict verdict);

} // namespace quendril::core

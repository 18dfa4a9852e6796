#pragma once

#include <QString>
#include <QStringView>

#include <array>
#include <cstdint>
#include <optional>

namespace quendril::core {

inline constexpr int kLargestReadingNumber = 84;

// Slots 1..84 hold the readings; slot 0 is never written.
using ReadingTexts = std::array<QString, kLargestReadingNumber + 1>;

// Writes the 84 reading texts into slots 1..84, overwriting what they held.
void FillReadingTable(ReadingTexts &table);

// The values a reading is computed in, kept between readings as the program
// keeps them: the table, the running sum that ends as the reading number, and
// the digit being added.
struct ReadingState {
    ReadingTexts ReadingTable;
    std::int16_t ReadingNumber = 0;
    std::int16_t DigitValue = 0;
};

struct Reading {
    std::int16_t number = 0;
    QString text;
};

// Adds the first nine characters of an entry that the entry rules accepted,
// adds 4 and looks the result up. Gives nothing when a character is not a
// decimal digit, when a sum leaves the 16-bit range, or when the number falls
// outside the table.
std::optional<Reading> computeReading(QStringView entry, ReadingState &state);

} // namespace quendril::core

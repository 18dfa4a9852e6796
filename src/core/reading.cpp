#include "reading.h"

#include <limits>

namespace quendril::core {

namespace {

constexpr qsizetype kDigitCount = 9;
constexpr std::int16_t kReadingOffset = 4;

std::optional<std::int16_t> checkedAdd(std::int16_t a, std::int16_t b)
{
    const int sum = int(a) + int(b);
    if (sum < std::numeric_limits<std::int16_t>::min() || sum > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<std::int16_t>(sum);
}

std::optional<std::int16_t> digitValue(QChar c)
{
    if (c < u'0' || c > u'9')
        return std::nullopt;
    return static_cast<std::int16_t>(c.unicode() - u'0');
}

} // namespace

std::optional<Reading> computeReading(QStringView entry, ReadingState &state)
{
    if (entry.size() < kDigitCount)
        return std::nullopt;

    state.ReadingNumber = 0;
    for (qsizetype i = 0; i < kDigitCount; ++i) {
        const auto digit = digitValue(entry[i]);
        if (!digit)
            return std::nullopt;
        state.DigitValue = *digit;
        const auto sum = checkedAdd(state.ReadingNumber, state.DigitValue);
        if (!sum)
            return std::nullopt;
        state.ReadingNumber = *sum;
    }
    const auto number = checkedAdd(state.ReadingNumber, kReadingOffset);
    if (!number)
        return std::nullopt;
    state.ReadingNumber = *number;

    FillReadingTable(state.ReadingTable);
    if (state.ReadingNumber < 0 || state.ReadingNumber > kLargestReadingNumber)
        return std::nullopt;
    return Reading { state.ReadingNumber, state.ReadingTable[static_cast<std::size_t>(state.ReadingNumber)] };
}

} // namespace quendril::core

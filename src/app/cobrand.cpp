#include "cobrand.h"

#include <cmath>

namespace quendril::app {

std::int16_t coBrandNumber(float r)
{
    // In double the product and sum are exact for every float draw, so a value
    // just above or below a half is never rounded onto it.
    const double value = static_cast<double>(r) * 6.0 + 1.0;
    const double below = std::floor(value);
    const double fraction = value - below;
    double rounded = below;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0.0))
        rounded = below + 1.0;
    return static_cast<std::int16_t>(rounded);
}

OfferInFront offerInFront(std::int16_t number)
{
    switch (number) {
    case 1:
    case 3:
    case 5:
        return OfferInFront::CoBrand;
    case 2:
    case 4:
    case 6:
        return OfferInFront::FullyBranded;
    default:
        return OfferInFront::DesignerOrder;
    }
}

} // namespace quendril::app

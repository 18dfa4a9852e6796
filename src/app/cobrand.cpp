#include "cobrand.h"

#include <cmath>

namespace quendril {

std::int16_t coBrandNumber(float r)
{
    const float value = r * 6.0f + 1.0f;
    const float below = std::floor(value);
    const float fraction = value - below;
    float rounded = below;
    if (fraction > 0.5f || (fraction == 0.5f && std::fmod(below, 2.0f) != 0.0f))
        rounded = below + 1.0f;
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
        return OfferInFront::AsDesigned;
    }
}

} // namespace quendril

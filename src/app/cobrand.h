#pragma once

#include <cstdint>

namespace quendril::app {

// r × 6 + 1 for a draw r in [0, 1), rounded to the nearest whole number with
// halves going to the even neighbour: 1..7.
std::int16_t coBrandNumber(float r);

enum class OfferInFront { CoBrand, FullyBranded, DesignerOrder };

// Odd numbers up to 5 bring the co-branding offer to the front, even numbers
// the fully-branded offer; 7 leaves them in the main window's Designer file
// order, where the co-branding offer lies in front.
OfferInFront offerInFront(std::int16_t number);

} // namespace quendril::app

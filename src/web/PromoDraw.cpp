#include "PromoDraw.h"

#include <cmath>

namespace PromoDraw {

int coBrandNumber(float r)
{
    const float value = r * 6.0f + 1.0f;
    // nearbyint rounds half to even in the default rounding mode, as the draw requires (1.5 -> 2, 2.5 -> 2).
    return static_cast<int>(std::nearbyint(value));
}

StripOffer stripOffer(int number)
{
    switch (number) {
    case 1:
    case 3:
    case 5:
        return StripOffer::CoBrand;
    case 2:
    case 4:
    case 6:
        return StripOffer::FullBrand;
    default:
        return StripOffer::Unchanged;
    }
}

int exitCaptionIndex(float r)
{
    const float n = std::floor(r * 4.0f);
    return n < 0.0f ? 0 : n > 3.0f ? 3 : static_cast<int>(n);
}

} // namespace PromoDraw

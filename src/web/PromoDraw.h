#pragma once

// Which promotional offer the main window's strip brings to the front, from one draw of r in [0, 1).
enum class StripOffer
{
    CoBrand,   // draws 1, 3, 5
    FullBrand, // draws 2, 4, 6
    Unchanged, // draw 7
};

namespace PromoDraw {

// r * 6 + 1 in single precision, rounded half to even: 1 to 7.
int coBrandNumber(float r);

StripOffer stripOffer(int coBrandNumber);

// floor(r * 4) in single precision: which of the exit screen's four captions is shown, 0 to 3.
int exitCaptionIndex(float r);

} // namespace PromoDraw

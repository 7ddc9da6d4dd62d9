// The scroller's dots found the long way, by testing every character of the text for every
// board column: the reference that the direct lookup must agree with.
#pragma once
#include "scenes/scene8.h"

namespace reference {

inline int ScrollerDotsByScan(float i, int j, float scroll) {
    int dots = 0;
    for (int p = 0; p < kelvorin::GREETZ_LENGTH; p++)
        if (i >= 6 * p + scroll && i <= 6 * p + 6 + scroll &&
            kelvorin::GlyphDot(kelvorin::greetz[p], j, i - scroll - 6 * p))
            dots++;
    return dots;
}

}  // namespace reference

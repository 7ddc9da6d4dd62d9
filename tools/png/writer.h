// The one PNG writer of the tools and the tests: 8-bit RGB or RGBA through libpng's row by row
// calls, with its default compression and filters, so that the same pixels always give the
// same bytes (the offline renderer's frames, the icon, gl_probe's pictures).
#pragma once
#include <cstdio>

namespace kelvorin {

// How the pixels handed to WritePng lie in memory: 8 bits a channel, rows one after another
// without padding. Flags, combined with |.
enum : unsigned {
    ROWS_TOP_FIRST = 0,     // the picture's top row comes first
    ROWS_BOTTOM_FIRST = 1,  // its bottom row comes first, as glReadPixels reads them
    ROWS_BGR = 2,           // blue before red in every pixel, as GL_BGRA
};

// Writes width x height pixels of `channels` bytes each (3: RGB, 4: with alpha) into an open
// file as a PNG of that colour type. False when libpng fails; the caller opens and closes the
// file, and says what failed.
bool WritePng(FILE *file, int width, int height, int channels, const unsigned char *pixels,
              unsigned layout);

}  // namespace kelvorin

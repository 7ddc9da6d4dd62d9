// Lettering: TrueType text rasterised into masks with stb_truetype, and the polished-metal
// fill of the chrome titles.
#pragma once
#include <stb_truetype.h>

#include <vector>

#include "art/raster.h"

namespace kelvorin::art {

struct Font {
    std::vector<unsigned char> data;
    stbtt_fontinfo info;
    float capUnits;  // height of a capital H in font units
};

extern Font boldFont, bookFont;  // DejaVu Sans Bold and Book, loaded by main

// Reads a TrueType font; says why on stderr and returns false when it cannot.
bool LoadFont(Font &f, const char *path);

struct TextStyle {
    const Font *font;
    float cap;       // height of the capitals, pixels
    float xScale;    // horizontal squeeze, for pictures that the demo stretches
    float tracking;  // extra space between letters, in cap heights
};

// Rasterises text with the middle of its capitals at (cx, cy), centred on its ink across.
// Returns the ink width; with no mask it only measures.
float RasteriseText(Mask *m, const TextStyle &st, const char *s, float cx, float cy);

// The style with its capitals made smaller where the text would be wider than maxWidth.
TextStyle FitText(TextStyle st, const char *s, float maxWidth);

// Polished-metal lettering: bright sky above a dark horizon line, warm glow below it.
// t runs from 0 at the top of the capitals to 1 at their baseline.
Rgb ChromeColour(float t, Rgb sky, Rgb deep, Rgb ground);

}  // namespace kelvorin::art

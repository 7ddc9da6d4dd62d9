// The greetings scroller of scene 8: its text, its dot font and the dots that the board shows.
#pragma once

namespace kelvorin {

constexpr int GREETZ_LENGTH = 101;
extern const char greetz[GREETZ_LENGTH + 1];
extern const unsigned char dotfont[27 * 30];
// Whether dot (row, whole part of x) of the character's glyph is lit; offsets outside the
// glyph's six columns are dark.
bool GlyphDot(char ch, int row, float x);
// How many cubes board column i, row j shows at scroll position scroll (0, 1 or 2).
int ScrollerDots(float i, int j, float scroll);

}  // namespace kelvorin

// The picture table: what draws each picture of the texture table and writes it as a BMP file,
// and the fonts that their lettering needs (pictures.cpp).
#pragma once
#include <string>

namespace kelvorin::art {

// Where Debian's DejaVu fonts are (fonts-dejavu-core), and the two that the lettering uses:
// boldFont and bookFont. The browser's generator finds its subset of them under the same names.
const char *const FONT_DIR = "/usr/share/fonts/truetype/dejavu/";
constexpr int NUM_FONTS = 2;
const char *const FONT_FILES[NUM_FONTS] = {"DejaVuSans-Bold.ttf", "DejaVuSans.ttf"};
// Loads DejaVu Sans Bold and Book from dir; says why on stderr and returns false when it cannot.
bool LoadFonts(const std::string &dir);
// Draws picture id of the texture table and writes it as dir/NAME.bmp. Needs the fonts.
bool WritePicture(int id, const std::string &dir);

}  // namespace kelvorin::art

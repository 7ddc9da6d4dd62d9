// The demo's pictures, one function each, by the scenes that show them. Each returns the picture
// as the screen should show it; the table in pictures.cpp says which are stored mirrored.
#pragma once
#include <string>

#include "art/raster.h"

namespace kelvorin {

// Where Debian's DejaVu fonts are (fonts-dejavu-core), and the two that the lettering uses:
// boldFont and bookFont. The browser's generator finds its subset of them under the same names.
const char *const FONT_DIR = "/usr/share/fonts/truetype/dejavu/";
constexpr int NUM_FONTS = 2;
const char *const FONT_FILES[NUM_FONTS] = {"DejaVuSans-Bold.ttf", "DejaVuSans.ttf"};
// Loads DejaVu Sans Bold and Book from dir; says why on stderr and returns false when it cannot.
bool LoadFonts(const std::string &dir);
// Draws picture id of the texture table and writes it as dir/NAME.bmp. Needs the fonts.
bool WritePicture(int id, const std::string &dir);

// The opening: the banner, the spinning logo, the emblem in the corner (opening.cpp).
Image drawBanner();
Image drawLogo();
Image drawQuorvanel();
const float LOGO_INNER = 94;  // half-diagonal of the logo's inner diamond

// The cube fan and the countdown: the credits, the title and the digits (countdown.cpp).
Image drawMaker();
Image drawTitle();
Image drawDigit(int n);

// The cloud tunnel and its rushing lights (tunnel.cpp).
Image drawNuage();
Image drawLight1();

// The finale: floor, columns, space box, petals, the sun and its halos (finale.cpp).
Image drawCarrelage();
Image drawPierre();
Image drawEspace();
Image drawPetale();
Image drawAno1();
Image drawAno2();
Image drawAno3();
Image drawAno4();
Image drawSoleil();

// The closing scene's lotus (closing.cpp).
Image drawContour();

}  // namespace kelvorin

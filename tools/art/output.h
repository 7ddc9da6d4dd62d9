// Writing the pictures: the 24-bit BMP files the demo loads, and the desktop icon as a PNG.
#pragma once
#include <string>

#include "art/raster.h"

namespace kelvorin::art {

// Writes a power-of-two picture as a 24-bit bottom-up BMP file, mirrored along x when asked.
bool WriteBmp(const std::string &path, Image &img, bool mirrored);
// One channel of a pixel as a byte, dithered by its place (x, y): bright colour past full scale
// (extra) spills into the other channels, so hot cores turn white.
unsigned char DitheredChannel(float c, float extra, int x, int y);

// The desktop icon (icon.cpp): the logo facing the viewer on a transparent ground, an 8-bit RGBA
// PNG. The logo is made to be added onto black, so outside its inner diamond a pixel's brightest
// channel becomes its opacity and its colour is divided by it: over black the icon is the picture.
bool WriteIcon(const std::string &path);

}  // namespace kelvorin::art

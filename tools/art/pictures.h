// The demo's pictures, one function each, by the scenes that show them. Each returns the picture
// as the screen should show it; the table in main.cpp says which are stored mirrored.
#pragma once
#include "art/raster.h"

namespace kelvorin {

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

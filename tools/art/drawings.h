// The demo's pictures, one procedure each, by the scenes that show them. Each returns the
// picture as the screen should show it; the table in pictures.cpp says which are stored mirrored.
#pragma once
#include "art/raster.h"

namespace kelvorin::art {

// The opening: the banner, the spinning logo, the emblem in the corner (opening.cpp).
Image DrawBanner();
Image DrawLogo();
Image DrawQuorvanel();
const float LOGO_INNER = 94;  // half-diagonal of the logo's inner diamond

// The cube fan and the countdown: the credits, the title and the digits (countdown.cpp).
Image DrawMaker();
Image DrawTitle();
Image DrawDigit(int n);

// The cloud tunnel and its rushing lights (tunnel.cpp).
Image DrawNuage();
Image DrawLight1();

// The finale: floor, columns, space box, petals, the sun and its halos (finale.cpp).
Image DrawCarrelage();
Image DrawPierre();
Image DrawEspace();
Image DrawPetale();
Image DrawAno1();
Image DrawAno2();
Image DrawAno3();
Image DrawAno4();
Image DrawSoleil();

// The closing scene's lotus (closing.cpp).
Image DrawContour();

}  // namespace kelvorin::art

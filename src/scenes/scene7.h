// The finale's elements, drawn by scene7 in this order and sharing its modelview matrix.
#pragma once
#include <cstdint>

namespace kelvorin {

void SpaceBox(uint32_t t);  // from 85 s; fades in, and out after 127 s
void SunLayers();           // five additive squares above the floor's centre
void TiledFloor();          // applies the spin r0s7, which stays for the rest of the frame
void StoneColumns();        // two rows of five; leaves the matrix as it found it
void Petals(uint32_t t);    // from 83 s; leaves blending on and depth testing off

// The look-at of a camera whose up is +y. Looking straight up or down, where +y gives no
// sideways direction, the picture's top is towards -z instead.
void LookAtUpright(double eyeX, double eyeY, double eyeZ, double centreX, double centreY,
                   double centreZ);

}  // namespace kelvorin

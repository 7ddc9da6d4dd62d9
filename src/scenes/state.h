// The scenes' animated values: program-lifetime globals, changed only in frames that their own
// scene draws. Tests read them; the closing scene also uses v0s2.
#pragma once
#include <vector>

#include "draw/point.h"

namespace kelvorin {

// Scene 0, name banner.
extern float t0s0;  // x of the banner's centre, from 8
extern float a0s0;  // banner alpha; set back to 0 when scene 1 or 2 takes over

// Scene 1, spinning logo.
extern float a0s1;  // logo alpha
extern float r0s1;  // logo angle about y, degrees

// Scene 2, ball spiral.
constexpr int NUMSPH = 12;      // balls on each arm
constexpr int DEFINITION = 12;  // segments of every ball
extern Point v0s2;  // centre of the ball being drawn; reset to the origin every frame
extern float l0s2;  // light fade
extern float a0s2;  // picture alpha

// Scene 3, cube fan.
extern float r0s3;  // swing phase of the fan, radians
extern float r1s3;  // tumble angle, degrees
extern float a0s3;  // alpha of the picture bands, both pairs
extern bool b0s3;   // first pair has faded in
extern bool b1s3;   // second pair has faded in
extern float a2s3;  // title alpha; grows only in drawn frames

// The fan: cubes from angle j towards angle i in fortieths of the distance, at most
// FAN_MAX_CUBES of them. Returns how many were drawn.
constexpr int FAN_MAX_CUBES = 41;
int DrawCubeFan(float i, float j);

// Scenes 4 and 45, title tumble, countdown and flash.
extern float s0s4;   // tumble progress of the title, 0 to 4
extern float a2s4;   // title fade-out
extern float n0s4;   // trail length, copies
extern float a0s4;   // wire sphere alpha while it blinks in
extern float r0s4;   // wire sphere spin in scene 4, degrees
extern float r0s45;  // wire sphere spin in scene 45; takes r0s4 at the hand-over
extern float a1s45;  // flash brightness
extern float a0s45;  // wire sphere brightness in scene 45, from 1

// Scene 5, cloud tunnel and light sprites.
extern float t0s5;   // texture scroll
extern float r1s5;   // phase of the tube's bends and bulges
extern float a0s5;   // fade-out, added to the ring brightness step after 79 s
extern float SIZE1;  // radius of the circle the tube's centre line swings on
extern float SIZE2;  // depth of the bulges of the cross-section
extern float f0s5;   // active sprites, fractional

// Scene 7, the finale.
extern float m0s7;       // camera travel, to 4
extern float m1s7;       // camera approach, to 8
extern float m2s7;       // camera climb, once the travel is done
extern float r0s7;       // spin of floor, columns and petals, degrees
extern float s0s7;       // zoom scale of the whole set during the opening, from 1e-7
extern float a0s7;       // space box brightness
extern float n0s7;       // petal count, fractional
extern int nn0s7;        // active petals in the last frame: n0s7 truncated, at most 500
extern float sizes7;     // half-size of the swirl square
extern float centre0s7;  // swirl centre, x
extern float centre1s7;  // swirl centre, z

// Scene 8, greetings.
extern float rota8;   // scroll position of the text, board columns, from 70
extern float slide8;  // x of the sphere spiral, from 7
extern float fade8;   // alpha of the picture
extern float hue8;    // phase of the light colour cycle
extern float spin8;   // spin of the spiral, degrees

constexpr int GREETZ_LENGTH = 101;
extern const char greetz[GREETZ_LENGTH + 1];
extern const unsigned char dotfont[27 * 30];
// Whether dot (row, whole part of x) of the character's glyph is lit; offsets outside the
// glyph's six columns are dark.
bool GlyphDot(char ch, int row, float x);
// How many cubes board column i, row j shows at scroll position scroll (0, 1 or 2).
int ScrollerDots(float i, int j, float scroll);

// The whole state that the frames to come depend on, besides the textures: the demo clock, the
// scene id, every value above, the random generator with its pools, and what a frame leaves in
// the GL context for the next one (the current colour, normal and texture coordinates, the
// bound texture, light 0's colours and its eye position). Saved on the synthetic clock, it lets
// any later frame be rebuilt from it (seeking). The buffer keeps its capacity between saves.
using DemoState = std::vector<unsigned char>;
void SaveDemoState(DemoState &into);
// Puts a saved state back; the modelview matrix is left at the identity. False, changing
// nothing, for a buffer of the wrong size.
bool RestoreDemoState(const DemoState &from);

}  // namespace kelvorin

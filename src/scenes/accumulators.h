// The opening scenes' animated values: program-lifetime globals, changed only in frames that
// their own scene draws. Tests and the closing scene (v0s2) read them.
#pragma once
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

}  // namespace kelvorin

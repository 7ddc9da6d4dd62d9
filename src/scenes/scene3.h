// The cube fan of scene 3, which the tests count.
#pragma once

namespace kelvorin {

// The fan: cubes from angle j towards angle i in fortieths of the distance, at most
// FAN_MAX_CUBES of them. Returns how many were drawn.
constexpr int FAN_MAX_CUBES = 41;
int DrawCubeFan(float i, float j);

}  // namespace kelvorin

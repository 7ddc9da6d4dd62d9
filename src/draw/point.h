#pragma once
#include <cstdint>

namespace kelvorin {

struct Point {
    float x, y, z;
};

// A double slightly below 2 pi, used wherever a fraction of a turn becomes radians.
constexpr double TWOPI = 6.283185307;

}  // namespace kelvorin

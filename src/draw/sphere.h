// A lit, textured sphere of latitude bands.
#pragma once
#include "draw/point.h"

namespace kelvorin {

void Sphere(Point centre, double radius, int segments);

}  // namespace kelvorin

// The wire and solid shapes that GLUT would have supplied, as our own code.
#pragma once

namespace kelvorin {

void WireCube(double size);
void SolidCube(double size);
void WireSphere(double radius, int slices, int stacks);

}  // namespace kelvorin

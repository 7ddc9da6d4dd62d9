// The scene procedures, one per scene id (scene 45 is scene4_5).
#pragma once

namespace kelvorin {

void scene0();
void scene1();
void scene2();
void scene3();
void scene4();
void scene4_5();
void scene5();
void scene7();
void scene8();
// Scene 8's state stepped on by tempo, as scene8() steps it before drawing.
void AdvanceScene8();

// How the flat scenes (3, 4, 45 and 5) begin: blending on, lighting and the depth test off,
// texturing on or off, and the eye 5 units before the origin, looking at it.
void FlatView(bool textured);

}  // namespace kelvorin

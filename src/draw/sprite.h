// Textured quads: a whole picture, or a rectangle of it, mirrored along x; texture is an index
// of the texture table (TEX_KELVORIN, ...).
#pragma once

namespace kelvorin {

void sprite2(float x, float y, float z, float width, float height, float alpha, int texture);
void sprite(float x, float y, float z, float width, float height, int texture, float sLeft,
            float tTop, float sRight, float tBottom, float alpha);

}  // namespace kelvorin

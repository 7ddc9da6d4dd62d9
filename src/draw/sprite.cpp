#include "draw/sprite.h"

#include <GL/gl.h>

#include "assets/textures.h"

namespace kelvorin {

// The s coordinate runs 1 -> 0 from left to right: the picture is laid on mirrored along x,
// which the scenes rely on (the countdown turns round to cancel it). No normal is sent.
void sprite2(float x, float y, float z, float width, float height, float alpha, int texture) {
    glBindTexture(GL_TEXTURE_2D, kelvorin::texture[texture]);
    glColor4f(1.0f, 1.0f, 1.0f, alpha);
    glBegin(GL_QUADS);
    glTexCoord2i(1, 1);
    glVertex3f(x - width / 2, y + height / 2, z);
    glTexCoord2i(0, 1);
    glVertex3f(x + width / 2, y + height / 2, z);
    glTexCoord2i(0, 0);
    glVertex3f(x + width / 2, y - height / 2, z);
    glTexCoord2i(1, 0);
    glVertex3f(x - width / 2, y - height / 2, z);
    glEnd();
}

void sprite(float x, float y, float z, float width, float height, int texture, float sLeft,
            float tTop, float sRight, float tBottom, float alpha) {
    glBindTexture(GL_TEXTURE_2D, kelvorin::texture[texture]);
    glColor4f(1.0f, 1.0f, 1.0f, alpha);
    glBegin(GL_QUADS);
    glTexCoord2f(sLeft, tTop);
    glVertex3f(x - width / 2, y + height / 2, z);
    glTexCoord2f(sRight, tTop);
    glVertex3f(x + width / 2, y + height / 2, z);
    glTexCoord2f(sRight, tBottom);
    glVertex3f(x + width / 2, y - height / 2, z);
    glTexCoord2f(sLeft, tBottom);
    glVertex3f(x - width / 2, y - height / 2, z);
    glEnd();
}

}  // namespace kelvorin

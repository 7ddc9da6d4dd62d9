#include "draw/sphere.h"

#include <GL/gl.h>

#include <cmath>

namespace kelvorin {

// Latitude bands from the bottom pole up, each one quad strip that starts at longitude 0 with
// its upper vertex and closes on itself; s wraps once round the equator, t climbs pole to pole.
void Sphere(Point centre, double radius, int segments) {
    if (radius < 0) radius = -radius;
    if (segments < 0) segments = -segments;
    if (segments < 4 || radius <= 0) {
        glBegin(GL_POINTS);
        glVertex3f(centre.x, centre.y, centre.z);
        glEnd();
        return;
    }
    const double step = TWOPI / segments;
    for (int i = 0; i < segments / 2; i++) {
        double lat0 = i * step - M_PI / 2;
        double lat1 = (i + 1) * step - M_PI / 2;
        glBegin(GL_QUAD_STRIP);
        for (int j = 0; j <= segments; j++) {
            double lon = j * step;
            float s = float(j) / segments;
            const double lats[2] = {lat1, lat0};
            const float ts[2] = {float(2 * i + 2) / segments, float(2 * i) / segments};
            for (int k = 0; k < 2; k++) {  // upper vertex, then lower
                float nx = float(std::cos(lats[k]) * std::cos(lon));
                float ny = float(std::sin(lats[k]));
                float nz = float(std::cos(lats[k]) * std::sin(lon));
                glNormal3f(nx, ny, nz);
                glTexCoord2f(s, ts[k]);
                glVertex3f(float(centre.x + nx * radius), float(centre.y + ny * radius),
                           float(centre.z + nz * radius));
            }
        }
        glEnd();
    }
}

}  // namespace kelvorin

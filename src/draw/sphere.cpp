#include "draw/sphere.h"

#include <GL/gl.h>

#include <cmath>
#include <vector>

namespace kelvorin {

namespace {

// The unit normal of every vertex depends on the number of segments alone; the closing scene
// draws 36 spheres a frame, so the normals are worked out once for the count in use and kept:
// the same floats as working them out each time, without the sines and cosines.
struct Normal {
    float x, y, z;
};
std::vector<Normal> normals;  // [band][longitude][upper, lower]
int normalsSegments = 0;

const Normal &BandNormal(int segments, int i, int j, int k) {
    if (segments != normalsSegments) {
        const double step = TWOPI / segments;
        normals.clear();
        for (int band = 0; band < segments / 2; band++) {
            const double lats[2] = {(band + 1) * step - M_PI / 2, band * step - M_PI / 2};
            for (int lonIndex = 0; lonIndex <= segments; lonIndex++) {
                double lon = lonIndex * step;
                for (double lat : lats)
                    normals.push_back({float(std::cos(lat) * std::cos(lon)), float(std::sin(lat)),
                                       float(std::cos(lat) * std::sin(lon))});
            }
        }
        normalsSegments = segments;
    }
    return normals[(size_t(i) * (segments + 1) + j) * 2 + k];
}

}  // namespace

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
    for (int i = 0; i < segments / 2; i++) {
        glBegin(GL_QUAD_STRIP);
        for (int j = 0; j <= segments; j++) {
            float s = float(j) / segments;
            const float ts[2] = {float(2 * i + 2) / segments, float(2 * i) / segments};
            for (int k = 0; k < 2; k++) {  // upper vertex, then lower
                const Normal &n = BandNormal(segments, i, j, k);
                glNormal3f(n.x, n.y, n.z);
                glTexCoord2f(s, ts[k]);
                glVertex3f(float(centre.x + n.x * radius), float(centre.y + n.y * radius),
                           float(centre.z + n.z * radius));
            }
        }
        glEnd();
    }
}

}  // namespace kelvorin

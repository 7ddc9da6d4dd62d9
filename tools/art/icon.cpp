// The desktop icon as an 8-bit RGBA PNG (tools/png/), apart from the BMP output so that the
// browser's generator, which makes only the pictures, needs no PNG library.
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "art/drawings.h"
#include "art/output.h"
#include "png/writer.h"

namespace kelvorin::art {

bool WriteIcon(const std::string &path) {
    Image img = DrawLogo();
    std::vector<unsigned char> rgba((size_t)img.w * img.h * 4);
    for (int y = 0; y < img.h; ++y)
        for (int x = 0; x < img.w; ++x) {
            Rgb c = img.At(x, y);
            float extra = 0.6f * PositivePart(std::max(c.r, std::max(c.g, c.b)) - 1);
            unsigned char v[3] = {DitheredChannel(c.r, extra, x, y),
                                  DitheredChannel(c.g, extra, x, y),
                                  DitheredChannel(c.b, extra, x, y)};
            float d = std::fabs(x + 0.5f - img.w / 2.0f) + std::fabs(y + 0.5f - img.h / 2.0f);
            int alpha = d <= LOGO_INNER ? 255 : std::max(v[0], std::max(v[1], v[2]));
            unsigned char *out = &rgba[((size_t)y * img.w + x) * 4];
            for (int i = 0; i < 3; ++i)
                out[i] = alpha ? (unsigned char)((v[i] * 255 + alpha / 2) / alpha) : 0;
            out[3] = (unsigned char)alpha;
        }
    FILE *f = std::fopen(path.c_str(), "wb");
    if (!f) {
        std::fprintf(stderr, "kelvorin-gentextures: cannot write %s: %s\n", path.c_str(),
                     std::strerror(errno));
        return false;
    }
    bool written = WritePng(f, img.w, img.h, 4, rgba.data(), ROWS_TOP_FIRST);
    bool ok = std::fclose(f) == 0 && written;
    if (!ok) std::fprintf(stderr, "kelvorin-gentextures: writing %s failed\n", path.c_str());
    return ok;
}

}  // namespace kelvorin::art

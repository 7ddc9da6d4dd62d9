// Compares two 8-bit RGB PNG frames of the same size: prints the mean absolute difference of
// each channel, the share of pixels where some channel differs by more than LIMIT, and the
// share of A's pixels brighter than LIMIT in some channel. Exit status 0 when every mean is
// below MEAN, the share of differing pixels below SHARE and A shows something; 1 when not; 2 on
// bad input. With "edges", the means and the share count only B's edges: pixels whose 3 x 3
// neighbourhood spans more than 48 levels in some channel.
//   frame_diff A.png B.png MEAN LIMIT SHARE [edges]
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Image {
    png_uint_32 width = 0, height = 0;
    std::vector<png_byte> rgb;
};

bool IsEdge(const Image &image, size_t p) {
    size_t x = p % image.width, y = p / image.width;
    if (x == 0 || y == 0 || x + 1 == image.width || y + 1 == image.height) return false;
    for (int c = 0; c < 3; c++) {
        int low = 255, high = 0;
        for (size_t q : {p - image.width - 1, p - image.width, p - image.width + 1, p - 1, p, p + 1,
                         p + image.width - 1, p + image.width, p + image.width + 1})
            low = std::min(low, int(image.rgb[q * 3 + c])),
            high = std::max(high, int(image.rgb[q * 3 + c]));
        if (high - low > 48) return true;
    }
    return false;
}

bool Load(const char *path, Image *image) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path)) {
        std::fprintf(stderr, "frame_diff: %s: %s\n", path, png.message);
        return false;
    }
    png.format = PNG_FORMAT_RGB;
    image->width = png.width;
    image->height = png.height;
    image->rgb.resize(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, image->rgb.data(), 0, nullptr)) {
        std::fprintf(stderr, "frame_diff: %s: %s\n", path, png.message);
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char **argv) {
    bool edges = argc == 7 && std::string(argv[6]) == "edges";
    if (argc != 6 && !edges) {
        std::fputs("usage: frame_diff A.png B.png MEAN LIMIT SHARE [edges]\n", stderr);
        return 2;
    }
    Image a, b;
    if (!Load(argv[1], &a) || !Load(argv[2], &b)) return 2;
    if (a.width != b.width || a.height != b.height) {
        std::fprintf(stderr, "frame_diff: %ux%u against %ux%u\n", a.width, a.height, b.width,
                     b.height);
        return 2;
    }
    double meanLimit = std::atof(argv[3]), shareLimit = std::atof(argv[5]);
    int limit = std::atoi(argv[4]);
    size_t all = size_t(a.width) * a.height, pixels = 0, off = 0, lit = 0;
    double sum[3] = {0, 0, 0};
    for (size_t p = 0; p < all; p++) {
        if (edges && !IsEdge(b, p)) continue;
        pixels++;
        bool beyond = false;
        lit += a.rgb[p * 3] > limit || a.rgb[p * 3 + 1] > limit || a.rgb[p * 3 + 2] > limit;
        for (int c = 0; c < 3; c++) {
            int d = std::abs(int(a.rgb[p * 3 + c]) - int(b.rgb[p * 3 + c]));
            sum[c] += d;
            beyond = beyond || d > limit;
        }
        off += beyond;
    }
    double mean[3], share = pixels ? double(off) / pixels : 0;
    bool pass = share < shareLimit && lit > 0;
    for (int c = 0; c < 3; c++) {
        mean[c] = pixels ? sum[c] / pixels : 0;
        pass = pass && mean[c] < meanLimit;
    }
    std::printf("mean difference %.3f %.3f %.3f, off by more than %d: %.3f %%, lit: %.1f %%\n",
                mean[0], mean[1], mean[2], limit, 100 * share, 100.0 * lit / pixels);
    return pass ? 0 : 1;
}

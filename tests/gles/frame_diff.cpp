// Compares two 8-bit RGB PNG frames of the same size: prints the mean absolute difference of
// each channel, the share of pixels where some channel differs by more than LIMIT, and the
// share of A's pixels brighter than LIMIT in some channel. Exit status 0 when every mean is
// below MEAN, the share of differing pixels below SHARE and A shows something; 1 when not; 2 on
// bad input.
//   frame_diff A.png B.png MEAN LIMIT SHARE
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

struct Image {
    png_uint_32 width = 0, height = 0;
    std::vector<png_byte> rgb;
};

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
    if (argc != 6) {
        std::fputs("usage: frame_diff A.png B.png MEAN LIMIT SHARE\n", stderr);
        return 2;
    }
    Image a, b;
    if (!Load(argv[1], &a) || !Load(argv[2], &b)) return 2;
    if (a.width != b.width || a.height != b.height) {
        std::fprintf(stderr, "frame_diff: %ux%u against %ux%u\n", a.width, a.height, b.width, b.height);
        return 2;
    }
    double meanLimit = std::atof(argv[3]), shareLimit = std::atof(argv[5]);
    int limit = std::atoi(argv[4]);
    size_t pixels = size_t(a.width) * a.height, off = 0, lit = 0;
    double sum[3] = {0, 0, 0};
    for (size_t p = 0; p < pixels; p++) {
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
    std::printf("mean difference %.3f %.3f %.3f, off by more than %d: %.3f %%, lit: %.1f %%\n", mean[0],
                mean[1], mean[2], limit, 100 * share, 100.0 * lit / pixels);
    return pass ? 0 : 1;
}

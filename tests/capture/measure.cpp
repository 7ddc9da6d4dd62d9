// Measures on the offline renderer's PNG frames, for tests/e2e/capture_master.sh:
//   capture_measure edges REF.png A.png...  for each A, the mean difference per channel from REF
//                                           over REF's edges (pixels whose 3 x 3 neighbourhood
//                                           spans more than 48 levels in some channel)
//   capture_measure mean OUT.png A.png...   writes the mean of the frames in linear light
// Exit status 2 on bad input.
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "capture/average.h"
#include "png/writer.h"

namespace {

struct Image {
    int width = 0, height = 0;
    std::vector<png_byte> rgb;
    int At(int x, int y, int c) const { return rgb[(size_t(y) * width + x) * 3 + c]; }
};

bool Load(const char *path, Image *image) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&png, path)) {
        png.format = PNG_FORMAT_RGB;
        image->width = int(png.width), image->height = int(png.height);
        image->rgb.resize(PNG_IMAGE_SIZE(png));
        if (png_image_finish_read(&png, nullptr, image->rgb.data(), 0, nullptr)) return true;
    }
    std::fprintf(stderr, "capture_measure: %s: %s\n", path, png.message);
    return false;
}

bool IsEdge(const Image &ref, int x, int y) {
    for (int c = 0; c < 3; c++) {
        int low = 255, high = 0;
        for (int dy = -1; dy <= 1; dy++)
            for (int dx = -1; dx <= 1; dx++) {
                low = std::min(low, ref.At(x + dx, y + dy, c));
                high = std::max(high, ref.At(x + dx, y + dy, c));
            }
        if (high - low > 48) return true;
    }
    return false;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 4 || (std::strcmp(argv[1], "edges") && std::strcmp(argv[1], "mean"))) {
        std::fputs("usage: capture_measure edges REF.png A.png... | mean OUT.png A.png...\n", stderr);
        return 2;
    }
    bool edges = !std::strcmp(argv[1], "edges");
    std::vector<Image> images(argc - 2 - !edges);
    for (size_t i = 0; i < images.size(); i++) {
        if (!Load(argv[i + 2 + !edges], &images[i])) return 2;
        if (images[i].width != images[0].width || images[i].height != images[0].height || images[i].width < 3 ||
            images[i].height < 3)
            return std::fprintf(stderr, "capture_measure: %s: not the first one's size\n", argv[i + 2 + !edges]), 2;
    }
    const Image &first = images[0];
    if (!edges) {
        kelvorin::LinearAverage average(first.width, first.height, 1, 3);
        for (const Image &image : images) average.Add(image.rgb.data());
        std::vector<unsigned char> out(first.rgb.size());
        average.Finish(out.data());
        FILE *file = std::fopen(argv[2], "wb");
        bool ok = file && kelvorin::WritePng(file, first.width, first.height, 3, out.data(), kelvorin::ROWS_TOP_FIRST);
        return file && std::fclose(file) == 0 && ok ? 0 : 2;
    }
    for (size_t i = 1; i < images.size(); i++) {
        long sum = 0, pixels = 0;
        for (int y = 1; y < first.height - 1; y++)
            for (int x = 1; x < first.width - 1; x++) {
                if (!IsEdge(first, x, y)) continue;
                pixels++;
                for (int c = 0; c < 3; c++) sum += std::abs(images[i].At(x, y, c) - first.At(x, y, c));
            }
        std::printf("%s %.3f\n", argv[i + 2], pixels ? sum / (3.0 * pixels) : 0.0);
    }
    return 0;
}

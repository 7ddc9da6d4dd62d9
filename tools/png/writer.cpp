#include "png/writer.h"

#include <png.h>

#include <cstddef>

namespace kelvorin {

bool WritePng(FILE *file, int width, int height, int channels, const unsigned char *pixels,
              unsigned layout) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    int type = channels == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB;
    png_set_IHDR(png, info, width, height, 8, type, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    if (layout & ROWS_BGR) png_set_bgr(png);
    size_t stride = size_t(width) * channels;
    for (int y = 0; y < height; y++) {
        int row = layout & ROWS_BOTTOM_FIRST ? height - 1 - y : y;
        png_write_row(png, pixels + size_t(row) * stride);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace kelvorin

// Decodes one BMP file into packed 24-bit RGB rows, bottom row first.
#pragma once
#include <cstdint>

namespace kelvorin {

struct RGBImage {
    int32_t width;
    int32_t height;
    unsigned char *data;  // width * height * 3 bytes, red, green, blue
};

// Both the record and its pixel block come from malloc; free the block, then the record.
// Null after a failure, which has been shown in an "Error" box.
RGBImage *LoadDIBImage(const char *fileName);

}  // namespace kelvorin

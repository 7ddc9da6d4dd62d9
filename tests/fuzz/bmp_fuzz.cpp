// libFuzzer target for the BMP loader: each input becomes the whole file.
#include "assets/bmp.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "scratch_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const char *filePath = fuzz::ScratchFile(data, size);
    kelvorin::RGBImage *image = kelvorin::LoadDIBImage(filePath);
    if (image) {
        // Touch every byte so that a short block shows up under AddressSanitizer. The sum is
        // stored whole at each step: C++20 deprecates += on a volatile.
        volatile unsigned sum = 0;
        for (size_t i = 0; i < size_t(image->width) * size_t(image->height) * 3; i++)
            sum = sum + image->data[i];
        (void)sum;
        free(image->data);
        free(image);
    }
    return 0;
}

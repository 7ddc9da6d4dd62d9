// libFuzzer target for the BMP loader: each input becomes the whole file. The file is made
// once and unlinked at once; the loader reaches it through /proc/self/fd, so nothing is left
// behind however the run ends.
#include "assets/bmp.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

int fileFd = -1;
std::string filePath;

bool OpenScratchFile() {
    const char *tmp = getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/kelvorin-bmp-fuzz-XXXXXX";
    fileFd = mkstemp(&pattern[0]);
    if (fileFd < 0) return false;
    unlink(pattern.c_str());
    filePath = "/proc/self/fd/" + std::to_string(fileFd);
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (fileFd < 0 && !OpenScratchFile()) abort();
    if (ftruncate(fileFd, 0) != 0) abort();
    if (size && pwrite(fileFd, data, size, 0) != ssize_t(size)) abort();
    kelvorin::RGBImage *image = kelvorin::LoadDIBImage(filePath.c_str());
    if (image) {
        // Touch every byte so that a short block shows up under AddressSanitizer.
        volatile unsigned sum = 0;
        for (size_t i = 0; i < size_t(image->width) * size_t(image->height) * 3; i++)
            sum += image->data[i];
        (void)sum;
        free(image->data);
        free(image);
    }
    return 0;
}

// The fuzz targets' input file: made once and unlinked at once, then rewritten for every input.
// The code under test reaches it through /proc/self/fd, so nothing is left behind however the
// run ends.
#pragma once
#include <cstdint>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace fuzz {

// Makes the file hold exactly these bytes and returns its path; aborts if it cannot.
inline const char *ScratchFile(const uint8_t *data, size_t size) {
    static int fd = -1;
    static std::string path;
    if (fd < 0) {
        const char *tmp = getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/kelvorin-fuzz-XXXXXX";
        fd = mkstemp(&pattern[0]);
        if (fd < 0) abort();
        unlink(pattern.c_str());
        path = "/proc/self/fd/" + std::to_string(fd);
    }
    if (ftruncate(fd, 0) != 0) abort();
    if (size && pwrite(fd, data, size, 0) != ssize_t(size)) abort();
    return path.c_str();
}

}  // namespace fuzz

// The track as a 16-bit stereo PCM WAV file at 44100 Hz, and the sound list that names it.
#include "music/wav.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "music/mix.h"

namespace kelvorin::music {

namespace {

void PutLE(std::FILE *file, uint32_t v, int bytes) {
    for (int k = 0; k < bytes; k++) std::fputc(int((v >> (8 * k)) & 0xff), file);
}

}  // namespace

bool WriteWav(std::FILE *file) {
    const uint32_t dataBytes = uint32_t(TOTAL) * 4;
    std::fputs("RIFF", file);
    PutLE(file, 36 + dataBytes, 4);
    std::fputs("WAVEfmt ", file);
    PutLE(file, 16, 4);        // plain PCM format chunk
    PutLE(file, 1, 2);         // PCM
    PutLE(file, 2, 2);         // stereo
    PutLE(file, RATE, 4);      // frames per second
    PutLE(file, RATE * 4, 4);  // bytes per second
    PutLE(file, 4, 2);         // bytes per frame
    PutLE(file, 16, 2);        // bits per sample
    std::fputs("data", file);
    PutLE(file, dataBytes, 4);

    std::vector<unsigned char> block;
    block.reserve(4096 * 4);
    for (long n = 0; n < TOTAL; n++) {
        for (float x : {mixL[n], mixR[n]}) {
            const long v = std::clamp(std::lround(x * 32767.0f), -32767L, 32767L);
            const uint16_t u = uint16_t(int16_t(v));
            block.push_back(uint8_t(u & 0xff));
            block.push_back(uint8_t(u >> 8));
        }
        if (block.size() >= 4096 * 4 || n == TOTAL - 1) {
            std::fwrite(block.data(), 1, block.size(), file);
            block.clear();
        }
    }
    const bool ok = !std::ferror(file);
    return std::fclose(file) == 0 && ok;
}

bool WriteSoundList(const std::string &path) {
    std::FILE *file = std::fopen(path.c_str(), "w");
    if (file == nullptr) {
        std::fprintf(stderr, "kelvorin-genmusic: cannot create %s: %s\n", path.c_str(),
                     std::strerror(errno));
        return false;
    }
    std::fputs("Data/kelvorin.wav\n", file);
    if (std::fclose(file) != 0) {
        std::fprintf(stderr, "kelvorin-genmusic: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace kelvorin::music

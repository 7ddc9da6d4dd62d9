// The track as a 16-bit stereo PCM WAV file at 44100 Hz, and the sound list that names it.
#include "music/wav.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "music/mix.h"

namespace kelvorin {

constexpr double FADE_START = 187.6 * RATE; // the last greetings leave the board at about 188.4 s
constexpr double FADE_END = 190.6 * RATE;   // silence from here to the end

namespace {

void PutLE(std::FILE* f, uint32_t v, int bytes) {
  for (int k = 0; k < bytes; k++) std::fputc(int((v >> (8 * k)) & 0xff), f);
}

} // namespace

bool WriteWav(std::FILE* f) {
  // The limiter's ceiling sits just above a lone hard kick's peak, so the kicks pass untouched and
  // only the moments where a boom or a crash lands on a kick are turned down (instant attack,
  // 80 ms release) instead of setting the level of the whole track.
  const float ceiling = 1.1f, release = float(Decay(0.08));
  float xl = 0, xr = 0, yl = 0, yr = 0, env = 0, peak = 0;
  for (long n = 0; n < TOTAL; n++) {
    yl = mixL[n] - xl + 0.9995f * yl;
    xl = mixL[n];
    yr = mixR[n] - xr + 0.9995f * yr;
    xr = mixR[n];
    env = std::max(std::max(std::fabs(yl), std::fabs(yr)), env * release);
    const float g = env > ceiling ? ceiling / env : 1.0f;
    mixL[n] = yl * g;
    mixR[n] = yr * g;
    peak = std::max(peak, std::max(std::fabs(mixL[n]), std::fabs(mixR[n])));
  }
  const float scale = peak > 0 ? 0.891f * 32767.0f / peak : 0.0f;

  const uint32_t dataBytes = uint32_t(TOTAL) * 4;
  std::fputs("RIFF", f);
  PutLE(f, 36 + dataBytes, 4);
  std::fputs("WAVEfmt ", f);
  PutLE(f, 16, 4);        // plain PCM format chunk
  PutLE(f, 1, 2);         // PCM
  PutLE(f, 2, 2);         // stereo
  PutLE(f, RATE, 4);      // frames per second
  PutLE(f, RATE * 4, 4);  // bytes per second
  PutLE(f, 4, 2);         // bytes per frame
  PutLE(f, 16, 2);        // bits per sample
  std::fputs("data", f);
  PutLE(f, dataBytes, 4);

  std::vector<unsigned char> block;
  block.reserve(4096 * 4);
  for (long n = 0; n < TOTAL; n++) {
    double g = 1.0;
    if (n >= FADE_END)
      g = 0.0;
    else if (n > FADE_START)
      g = 0.5 * (1.0 + std::cos(PI * (n - FADE_START) / (FADE_END - FADE_START)));
    for (float x : {mixL[n], mixR[n]}) {
      const long v = std::clamp(std::lround(x * scale * g), -32000L, 32000L);
      const uint16_t u = uint16_t(int16_t(v));
      block.push_back(uint8_t(u & 0xff));
      block.push_back(uint8_t(u >> 8));
    }
    if (block.size() >= 4096 * 4 || n == TOTAL - 1) {
      std::fwrite(block.data(), 1, block.size(), f);
      block.clear();
    }
  }
  const bool ok = !std::ferror(f);
  return std::fclose(f) == 0 && ok;
}

bool WriteSoundList(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "w");
  if (f == nullptr) {
    std::fprintf(stderr, "kelvorin-genmusic: cannot create %s: %s\n", path.c_str(), std::strerror(errno));
    return false;
  }
  std::fputs("Data/kelvorin.wav\n", f);
  if (std::fclose(f) != 0) {
    std::fprintf(stderr, "kelvorin-genmusic: cannot write %s\n", path.c_str());
    return false;
  }
  return true;
}

} // namespace kelvorin

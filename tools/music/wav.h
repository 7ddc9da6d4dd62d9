// Writing the track: the 16-bit WAV file and the sound list that names it.
#pragma once
#include <cstdio>
#include <string>

namespace kelvorin {

// Removes DC, limits the pile-ups, normalises the peak to -1 dBFS, fades out to exact silence and
// writes the WAV file into f, which it closes.
bool WriteWav(std::FILE* f);

// Writes the one-line sound list that names Data/kelvorin.wav.
bool WriteSoundList(const std::string& path);

} // namespace kelvorin

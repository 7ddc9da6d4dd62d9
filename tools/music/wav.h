// Writing the track: the 16-bit WAV file and the sound list that names it.
#pragma once
#include <cstdio>
#include <string>

namespace kelvorin::music {

// Writes the mastered mix (full scale 1.0) into the open file as a WAV file, and closes it.
bool WriteWav(std::FILE *file);

// Writes the one-line sound list that names Data/kelvorin.wav.
bool WriteSoundList(const std::string &path);

}  // namespace kelvorin::music

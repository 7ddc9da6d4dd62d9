// The sound list and the music, played once from the first frame on. The list reader is shared;
// playback has a backend in each edition (sound_sdl.cpp on Linux, sound_win32.cpp on Windows,
// sound_web.cpp in the browser).
#pragma once

namespace kelvorin {

enum { SOUND_NAMES = 3, SOUND_NAME_SIZE = 40 };  // 3 names of at most 39 characters
extern char soundNames[SOUND_NAMES][SOUND_NAME_SIZE];

// Reads white-space separated names into soundNames. True when the list was read and every
// listed file opens. A name longer than 39 characters leaves its entry empty; names after the
// third are not read.
bool ReadSoundList(const char *path);
// Opens the sound output: on the desktop the default device of SDL's audio driver, 44100 Hz
// stereo, 3 channels; on Windows the wave mapper, each channel in its sample's own format; in
// the browser the page's Web Audio context.
bool InitSound();
// Loads soundNames[entry] whole into sample slot `channel` and plays it on that channel;
// loop mode 1 plays it once, 2 loops it.
void PlaySample(int channel, int entry, int loopMode);
// Stops every channel, frees the samples and closes the output.
void CloseSound();

}  // namespace kelvorin

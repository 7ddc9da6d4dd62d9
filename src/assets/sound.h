// The sound list and the music, played once from the first frame on. What is the same in every
// edition is here: the list reader (sound_list.cpp) and the rules of playing (sound.cpp: what
// may be played, and whether the output is open). Each edition supplies only its sound output,
// the three functions at the end (sound_sdl.cpp on Linux, sound_win32.cpp on Windows,
// sound_web.cpp in the browser, sound_null.cpp offscreen).
#pragma once

namespace kelvorin {

enum { SOUND_NAMES = 3, SOUND_NAME_SIZE = 40 };  // 3 names of at most 39 characters
extern char soundNames[SOUND_NAMES][SOUND_NAME_SIZE];

// PlaySample's loop modes: once, or over and over until the channel is stopped.
enum { LOOP_OFF = 1, LOOP_NORMAL = 2 };

// Reads white-space separated names into soundNames. True when the list was read and every
// listed file opens. A name longer than 39 characters leaves its entry empty; names after the
// third are not read.
bool ReadSoundList(const char *path);
// Opens the edition's sound output; false when it cannot, and the demo is then silent.
bool InitSound();
// Loads soundNames[entry] whole into sample slot `channel` and plays it on that channel, over
// and over in loop mode LOOP_NORMAL, once in any other. Does nothing while the output is
// closed, nor for a channel or an entry outside 0 to SOUND_NAMES - 1, nor for an empty entry.
void PlaySample(int channel, int entry, int loopMode);
// Stops every channel, frees the samples and closes the output, if it is open.
void CloseSound();
extern bool soundOpen;  // from an InitSound that succeeded to the next CloseSound

// The sound output, which each edition implements. Only the functions above call it, and only
// as their rules allow: PlaySoundFile and CloseSoundOutput only while the output is open,
// with a channel from 0 to SOUND_NAMES - 1 and a name that is not empty. So a backend checks
// nothing of that itself. Every failure is silent.
//
// Opens the output: on the desktop the default device of SDL's audio driver, 44100 Hz stereo,
// 3 channels; on Windows the wave mapper, each channel in its sample's own format; in the
// browser the page's Web Audio context; offscreen never. True when it opened.
bool OpenSoundOutput();
// Stops what the channel plays, then plays the file at `path` on it, once or looped.
void PlaySoundFile(int channel, const char *path, bool loop);
// Stops every channel, frees the samples and closes the output.
void CloseSoundOutput();

}  // namespace kelvorin

// Sound on SDL2_mixer, the desktop backend of the sound interface (the list reader is shared,
// sound_list.cpp). Every failure is silent: the demo then runs the same without sound.
#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>

#include "assets/sound.h"

namespace kelvorin {

namespace {

enum { LOOP_OFF = 1, LOOP_NORMAL = 2 };
Mix_Chunk *samples[SOUND_NAMES];
bool soundOpen = false;

}  // namespace

bool InitSound() {
    // The output choice is SDL's audio driver (SDL_AUDIODRIVER as usual), the driver its
    // default device; a small buffer keeps the music in step with the first frame.
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    if (Mix_OpenAudioDevice(44100, AUDIO_S16SYS, 2, 512, nullptr, 0) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Mix_AllocateChannels(3);
    soundOpen = true;
    return true;
}

void PlaySample(int channel, int entry, int loopMode) {
    if (!soundOpen || channel < 0 || channel >= SOUND_NAMES || entry < 0 || entry >= SOUND_NAMES)
        return;
    if (soundNames[entry][0] == '\0') return;
    if (samples[channel]) {
        Mix_HaltChannel(channel);
        Mix_FreeChunk(samples[channel]);
    }
    samples[channel] = Mix_LoadWAV(soundNames[entry]);  // decoded whole into memory
    if (!samples[channel]) return;
    Mix_PlayChannel(channel, samples[channel], loopMode == LOOP_NORMAL ? -1 : 0);
}

void CloseSound() {
    if (!soundOpen) return;
    Mix_HaltChannel(-1);
    for (Mix_Chunk *&sample : samples) {
        if (sample) Mix_FreeChunk(sample);
        sample = nullptr;
    }
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    soundOpen = false;
}

}  // namespace kelvorin

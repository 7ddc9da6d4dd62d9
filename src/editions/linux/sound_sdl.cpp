// Sound on SDL2_mixer, the desktop backend of the sound output (the list and the rules of
// playing are shared, src/assets/). Every failure is silent: the demo then runs the same
// without sound.
#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>

#include "assets/sound.h"

namespace kelvorin {

namespace {

Mix_Chunk *samples[SOUND_NAMES];

}  // namespace

bool OpenSoundOutput() {
    // The output choice is SDL's audio driver (SDL_AUDIODRIVER as usual), the driver its
    // default device; a small buffer keeps the music in step with the first frame.
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    if (Mix_OpenAudioDevice(44100, AUDIO_S16SYS, 2, 512, nullptr, 0) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Mix_AllocateChannels(3);
    return true;
}

void PlaySoundFile(int channel, const char *path, bool loop) {
    if (samples[channel]) {
        Mix_HaltChannel(channel);
        Mix_FreeChunk(samples[channel]);
    }
    samples[channel] = Mix_LoadWAV(path);  // decoded whole into memory
    if (!samples[channel]) return;
    Mix_PlayChannel(channel, samples[channel], loop ? -1 : 0);
}

void CloseSoundOutput() {
    Mix_HaltChannel(-1);
    for (Mix_Chunk *&sample : samples) {
        if (sample) Mix_FreeChunk(sample);
        sample = nullptr;
    }
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

}  // namespace kelvorin

// Sound on SDL2_mixer. Every failure is silent: the demo then runs the same without sound.
#include "assets/sound.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>

#include <cctype>
#include <cstdio>

namespace kelvorin {

char soundNames[SOUND_NAMES][SOUND_NAME_SIZE];

namespace {

enum { LOOP_OFF = 1, LOOP_NORMAL = 2 };
Mix_Chunk *samples[SOUND_NAMES];
bool soundOpen = false;

// One read of "%s\n": skip white space, take one word, skip the white space after it. The word
// goes into the entry only if it fits; an overlong one leaves the entry empty.
void ReadName(FILE *file, char *entry) {
    int c;
    do c = std::fgetc(file);
    while (c != EOF && std::isspace(c));
    size_t length = 0;
    bool fits = true;
    while (c != EOF && !std::isspace(c)) {
        if (length < SOUND_NAME_SIZE - 1) entry[length] = (char)c;
        else fits = false;
        length++;
        c = std::fgetc(file);
    }
    while (c != EOF && std::isspace(c)) c = std::fgetc(file);
    if (c != EOF) std::ungetc(c, file);
    if (length == 0) return;  // nothing read: the entry keeps what it had
    entry[fits ? length : 0] = '\0';
}

}  // namespace

bool ReadSoundList(const char *path) {
    FILE *file = std::fopen(path, "r");
    if (!file) return false;
    int count = 0;
    // The end-of-file test comes before each read, and every read attempt counts.
    while (!std::feof(file) && count < SOUND_NAMES) {
        ReadName(file, soundNames[count]);
        count++;
    }
    std::fclose(file);
    for (int i = 0; i < count; i++) {
        FILE *listed = std::fopen(soundNames[i], "r");
        if (!listed) return false;
        std::fclose(listed);
    }
    return true;
}

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

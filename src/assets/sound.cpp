// The rules of playing, the same in every edition: what PlaySample may hand to the edition's
// sound output, and whether that output is open. The backends do only what their platform does.
#include "assets/sound.h"

namespace kelvorin {

bool soundOpen = false;

bool InitSound() {
    soundOpen = OpenSoundOutput();
    return soundOpen;
}

void PlaySample(int channel, int entry, int loopMode) {
    if (!soundOpen || channel < 0 || channel >= SOUND_NAMES || entry < 0 || entry >= SOUND_NAMES)
        return;
    if (soundNames[entry][0] == '\0') return;
    PlaySoundFile(channel, soundNames[entry], loopMode == LOOP_NORMAL);
}

void CloseSound() {
    if (!soundOpen) return;
    CloseSoundOutput();
    soundOpen = false;
}

}  // namespace kelvorin

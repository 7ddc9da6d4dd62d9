// Sound on Web Audio, the browser backend of the sound interface (the list reader is shared,
// sound_list.cpp). The page decodes the music while it loads, so that playing starts at once,
// and starts it with the demo's first frame, at that frame's clock, then keeps it in step with
// the demo clock (page/sound.js). As on the desktop every failure leaves the demo silent; the page
// also says so, since a browser that plays nothing gives the viewer no other hint.
#include <emscripten.h>

#include "assets/sound.h"

namespace kelvorin {

namespace {

enum { LOOP_NORMAL = 2 };
bool soundOpen = false;

EM_JS(int, AudioOpen, (), { return Module['page'].audio.open() ? 1 : 0; });
EM_JS(void, AudioPlay, (int channel, const char *name, int loop), {
    Module['page'].audio.play(channel, UTF8ToString(name), !!loop);
});
EM_JS(void, AudioClose, (), { Module['page'].audio.close(); });

}  // namespace

bool InitSound() {
    soundOpen = AudioOpen() != 0;
    return soundOpen;
}

void PlaySample(int channel, int entry, int loopMode) {
    if (!soundOpen || channel < 0 || channel >= SOUND_NAMES || entry < 0 || entry >= SOUND_NAMES)
        return;
    if (soundNames[entry][0] == '\0') return;
    AudioPlay(channel, soundNames[entry], loopMode == LOOP_NORMAL);
}

void CloseSound() {
    if (!soundOpen) return;
    AudioClose();
    soundOpen = false;
}

}  // namespace kelvorin

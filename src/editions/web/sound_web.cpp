// Sound on Web Audio, the browser backend of the sound output (the list and the rules of
// playing are shared, src/assets/). The page decodes the music while it loads, so that playing
// starts at once, and starts it with the demo's first frame, at that frame's clock, then keeps
// it in step with the demo clock (page/sound.js). As on the desktop every failure leaves the demo
// silent; the page also says so, since a browser that plays nothing gives the viewer no other hint.
#include <emscripten.h>

#include "assets/sound.h"

namespace kelvorin {

namespace {

EM_JS(int, AudioOpen, (), { return Module['page'].audio.open() ? 1 : 0; });
EM_JS(void, AudioPlay, (int channel, const char *name, int loop),
      { Module['page'].audio.play(channel, UTF8ToString(name), !!loop); });
EM_JS(void, AudioClose, (), { Module['page'].audio.close(); });

}  // namespace

bool OpenSoundOutput() { return AudioOpen() != 0; }

void PlaySoundFile(int channel, const char *path, bool loop) { AudioPlay(channel, path, loop); }

void CloseSoundOutput() { AudioClose(); }

}  // namespace kelvorin

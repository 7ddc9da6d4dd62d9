// No sound, the offscreen edition's backend of the sound output (the list and the rules of
// playing are shared, src/assets/): the output never opens, so the demo plays silently and
// nothing is decoded. The offline renderer's video takes the music from its file itself
// (tools/capture/video.cpp), and the programs of this edition need no audio library.
#include "assets/sound.h"

namespace kelvorin {

bool OpenSoundOutput() { return false; }

// Never called: the output is never open.
void PlaySoundFile(int, const char *, bool) {}
void CloseSoundOutput() {}

}  // namespace kelvorin

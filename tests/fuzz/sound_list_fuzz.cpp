// libFuzzer target for the sound-list reader: each input becomes the whole list file. The
// table must come out as three terminated names however long or strange the words are.
#include "assets/sound.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "scratch_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const char *filePath = fuzz::ScratchFile(data, size);
    // Every input starts from the program's start state: an empty table.
    memset(kelvorin::soundNames, 0, sizeof kelvorin::soundNames);
    kelvorin::ReadSoundList(filePath);
    for (const char *entry : kelvorin::soundNames)
        if (!memchr(entry, 0, kelvorin::SOUND_NAME_SIZE)) abort();  // an entry ran into the next
    return 0;
}

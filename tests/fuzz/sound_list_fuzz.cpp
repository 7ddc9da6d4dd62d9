// libFuzzer target for the sound-list reader: each input becomes the whole list file. The
// table must come out as three terminated names however long or strange the words are.
#include "assets/sound.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

int fileFd = -1;
std::string filePath;

bool OpenScratchFile() {
    const char *tmp = getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/kelvorin-sound-fuzz-XXXXXX";
    fileFd = mkstemp(&pattern[0]);
    if (fileFd < 0) return false;
    unlink(pattern.c_str());
    filePath = "/proc/self/fd/" + std::to_string(fileFd);
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (fileFd < 0 && !OpenScratchFile()) abort();
    if (ftruncate(fileFd, 0) != 0) abort();
    if (size && pwrite(fileFd, data, size, 0) != ssize_t(size)) abort();
    // Every input starts from the program's start state: an empty table.
    memset(kelvorin::soundNames, 0, sizeof kelvorin::soundNames);
    kelvorin::ReadSoundList(filePath.c_str());
    for (const char *entry : kelvorin::soundNames)
        if (!memchr(entry, 0, kelvorin::SOUND_NAME_SIZE)) abort();  // an entry ran into the next
    return 0;
}

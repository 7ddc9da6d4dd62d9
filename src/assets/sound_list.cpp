// The sound list: up to three white-space separated file names, the first being the music.
// Shared by every sound backend.
#include <cctype>
#include <cstdio>

#include "assets/sound.h"

namespace kelvorin {

char soundNames[SOUND_NAMES][SOUND_NAME_SIZE];

namespace {

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

}  // namespace kelvorin

// kelvorin-gentextures OUTDIR: draws the demo's 23 pictures from code and writes them into
// OUTDIR as 24-bit BMP files, in texture-table order.
// kelvorin-gentextures --icon FILE.png: writes the 256 by 256 desktop icon.
// kelvorin-gentextures --list: prints the pictures' names in texture-table order, one a line.
// kelvorin-gentextures --credits: prints the credits that the pictures show, as JSON.
//
// The output is the same, byte for byte, on every build: a seeded xorshift generator, integer
// hashed noise, and our own sin, cos, exp and atan2 built from +, -, *, / and sqrt, so nothing
// depends on how the C library rounds its transcendental functions.
//
// Two facts shape every picture. sprite2 and sprite lay a texture mirrored along x, so pictures
// with lettering that faces the viewer are written mirrored here (the countdown digits are not:
// scene 4 shows them from behind, which undoes the mirror). Most pictures are added onto the
// screen, so they are drawn on black and fade to black before their borders: with GL_REPEAT and
// GL_LINEAR an edge texel is blended with the opposite edge.

#include <cstdio>
#include <cstring>
#include <string>

#include "art/credits.h"
#include "art/output.h"
#include "art/pictures.h"
#include "assets/textures.h"

namespace kelvorin::art {

int GenerateTextures(int argc, char **argv) {
    if (argc == 2 && std::strcmp(argv[1], "--list") == 0) {
        for (const char *name : textureNames) std::printf("%s\n", name);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--credits") == 0) {
        std::printf("{\"credits\": [");  // our own plain words: nothing to escape
        for (int i = 0; i < NUM_CREDITS; i++)
            std::printf("%s{\"role\": \"%s\", \"name\": \"%s\"}", i ? ", " : "", CREDITS[i].role,
                        CREDITS[i].name);
        std::printf("], \"production\": \"%s\"}\n", PRODUCTION);
        return 0;
    }
    bool icon = argc == 3 && std::strcmp(argv[1], "--icon") == 0;
    if ((argc != 2 && !icon) || argv[argc - 1][0] == '\0') {
        std::fprintf(stderr,
                     "usage: kelvorin-gentextures OUTDIR\n"
                     "       kelvorin-gentextures --icon FILE.png\n"
                     "       kelvorin-gentextures --list\n"
                     "       kelvorin-gentextures --credits\n");
        return 2;
    }
    if (!LoadFonts(FONT_DIR)) return 1;
    if (icon) return WriteIcon(argv[2]) ? 0 : 1;
    for (int id = 0; id < NUM_TEXTURES; id++)
        if (!WritePicture(id, argv[1])) return 1;
    return 0;
}

}  // namespace kelvorin::art

int main(int argc, char **argv) { return kelvorin::art::GenerateTextures(argc, argv); }

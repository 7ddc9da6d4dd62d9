// kelvorin-gentextures OUTDIR: draws the demo's 23 pictures from code and writes them into
// OUTDIR as 24-bit BMP files, in texture-table order.
// kelvorin-gentextures --icon FILE.png: writes the 256 by 256 desktop icon.
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

#include "art/lettering.h"
#include "art/output.h"
#include "art/pictures.h"

namespace kelvorin {
namespace {

struct Picture {
    const char *name;
    Image (*draw)();
    bool mirrored;  // lettering that must read correctly through sprite2's mirror
};

Image drawCh0() { return drawDigit(0); }
Image drawCh1() { return drawDigit(1); }
Image drawCh2() { return drawDigit(2); }
Image drawCh3() { return drawDigit(3); }
Image drawCh4() { return drawDigit(4); }
Image drawCh5() { return drawDigit(5); }

// In texture-table order.
const Picture PICTURES[] = {
    {"quorvanel", drawQuorvanel, true},
    {"logokelv", drawLogo, true},
    {"kelvorin", drawBanner, true},
    {"maker", drawMaker, true},
    {"title", drawTitle, true},
    {"light1", drawLight1, false},
    {"nuage", drawNuage, false},
    {"ch0", drawCh0, false},
    {"ch1", drawCh1, false},
    {"ch2", drawCh2, false},
    {"ch3", drawCh3, false},
    {"ch4", drawCh4, false},
    {"ch5", drawCh5, false},
    {"carrelage", drawCarrelage, false},
    {"pierre", drawPierre, false},
    {"petale", drawPetale, false},
    {"espace", drawEspace, false},
    {"contour", drawContour, false},
    {"ano1", drawAno1, false},
    {"ano2", drawAno2, false},
    {"ano3", drawAno3, false},
    {"ano4", drawAno4, false},
    {"soleil", drawSoleil, false},
};

}  // namespace

int GenerateTextures(int argc, char **argv) {
    bool icon = argc == 3 && std::strcmp(argv[1], "--icon") == 0;
    if ((argc != 2 && !icon) || argv[argc - 1][0] == '\0') {
        std::fprintf(stderr, "usage: kelvorin-gentextures OUTDIR\n"
                             "       kelvorin-gentextures --icon FILE.png\n");
        return 2;
    }
    const std::string dir = "/usr/share/fonts/truetype/dejavu/";
    if (!loadFont(boldFont, (dir + "DejaVuSans-Bold.ttf").c_str()) ||
        !loadFont(bookFont, (dir + "DejaVuSans.ttf").c_str()))
        return 1;
    if (icon) return writeIcon(argv[2]) ? 0 : 1;
    for (const Picture &p : PICTURES) {
        Image img = p.draw();
        if (!writeBmp(std::string(argv[1]) + "/" + p.name + ".bmp", img, p.mirrored)) return 1;
    }
    return 0;
}

}  // namespace kelvorin

int main(int argc, char **argv) { return kelvorin::GenerateTextures(argc, argv); }

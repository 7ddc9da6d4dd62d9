// kelvorin-gentextures OUTDIR: draws the demo's 23 pictures from code and writes them into
// OUTDIR as 24-bit BMP files, in texture-table order.
// kelvorin-gentextures --icon FILE.png: writes the 256 by 256 desktop icon.
// kelvorin-gentextures --list: prints the pictures' names in texture-table order, one a line.
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
#include "assets/textures.h"

namespace kelvorin {
namespace {

struct Picture {
    TextureId id;
    Image (*draw)();
    bool mirrored;  // lettering that must read correctly through sprite2's mirror
};

Image drawCh0() { return drawDigit(0); }
Image drawCh1() { return drawDigit(1); }
Image drawCh2() { return drawDigit(2); }
Image drawCh3() { return drawDigit(3); }
Image drawCh4() { return drawDigit(4); }
Image drawCh5() { return drawDigit(5); }

// What draws each picture of the texture table, in its order; its name is the table's.
constexpr Picture PICTURES[] = {
    {TEX_QUORVANEL, drawQuorvanel, true},
    {TEX_LOGOKELV, drawLogo, true},
    {TEX_KELVORIN, drawBanner, true},
    {TEX_MAKER, drawMaker, true},
    {TEX_TITLE, drawTitle, true},
    {TEX_LIGHT1, drawLight1, false},
    {TEX_NUAGE, drawNuage, false},
    {TEX_CH0, drawCh0, false},
    {TEX_CH1, drawCh1, false},
    {TEX_CH2, drawCh2, false},
    {TEX_CH3, drawCh3, false},
    {TEX_CH4, drawCh4, false},
    {TEX_CH5, drawCh5, false},
    {TEX_CARRELAGE, drawCarrelage, false},
    {TEX_PIERRE, drawPierre, false},
    {TEX_PETALE, drawPetale, false},
    {TEX_ESPACE, drawEspace, false},
    {TEX_CONTOUR, drawContour, false},
    {TEX_ANO1, drawAno1, false},
    {TEX_ANO2, drawAno2, false},
    {TEX_ANO3, drawAno3, false},
    {TEX_ANO4, drawAno4, false},
    {TEX_SOLEIL, drawSoleil, false},
};

constexpr bool EveryPictureInTableOrder() {
    if (sizeof PICTURES / sizeof PICTURES[0] != NUM_TEXTURES) return false;
    for (int i = 0; i < NUM_TEXTURES; i++)
        if (PICTURES[i].id != i) return false;
    return true;
}
static_assert(EveryPictureInTableOrder(), "one drawing for each texture, in the table's order");

}  // namespace

int GenerateTextures(int argc, char **argv) {
    if (argc == 2 && std::strcmp(argv[1], "--list") == 0) {
        for (const char *name : textureNames) std::printf("%s\n", name);
        return 0;
    }
    bool icon = argc == 3 && std::strcmp(argv[1], "--icon") == 0;
    if ((argc != 2 && !icon) || argv[argc - 1][0] == '\0') {
        std::fprintf(stderr, "usage: kelvorin-gentextures OUTDIR\n"
                             "       kelvorin-gentextures --icon FILE.png\n"
                             "       kelvorin-gentextures --list\n");
        return 2;
    }
    const std::string dir = "/usr/share/fonts/truetype/dejavu/";
    if (!loadFont(boldFont, (dir + "DejaVuSans-Bold.ttf").c_str()) ||
        !loadFont(bookFont, (dir + "DejaVuSans.ttf").c_str()))
        return 1;
    if (icon) return writeIcon(argv[2]) ? 0 : 1;
    for (const Picture &p : PICTURES) {
        Image img = p.draw();
        if (!writeBmp(std::string(argv[1]) + "/" + textureNames[p.id] + ".bmp", img, p.mirrored))
            return 1;
    }
    return 0;
}

}  // namespace kelvorin

int main(int argc, char **argv) { return kelvorin::GenerateTextures(argc, argv); }

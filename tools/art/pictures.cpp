// The table of what draws each picture, and the fonts its lettering needs.
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

bool LoadFonts(const std::string &dir) {
    return loadFont(boldFont, (dir + FONT_FILES[0]).c_str()) &&
           loadFont(bookFont, (dir + FONT_FILES[1]).c_str());
}

bool WritePicture(int id, const std::string &dir) {
    const Picture &p = PICTURES[id];
    Image img = p.draw();
    return writeBmp(dir + "/" + textureNames[p.id] + ".bmp", img, p.mirrored);
}

}  // namespace kelvorin

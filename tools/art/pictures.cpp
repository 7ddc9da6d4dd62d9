// The table of what draws each picture, and the fonts its lettering needs.
#include "art/pictures.h"

#include "art/drawings.h"
#include "art/lettering.h"
#include "art/output.h"
#include "assets/textures.h"

namespace kelvorin::art {

namespace {

struct Picture {
    TextureId id;
    Image (*draw)();
    bool mirrored;  // lettering that must read correctly through sprite2's mirror
};

Image DrawCh0() { return DrawDigit(0); }
Image DrawCh1() { return DrawDigit(1); }
Image DrawCh2() { return DrawDigit(2); }
Image DrawCh3() { return DrawDigit(3); }
Image DrawCh4() { return DrawDigit(4); }
Image DrawCh5() { return DrawDigit(5); }

// What draws each picture of the texture table, in its order; its name is the table's.
constexpr Picture PICTURES[] = {
    {TEX_QUORVANEL, DrawQuorvanel, true},
    {TEX_LOGOKELV, DrawLogo, true},
    {TEX_KELVORIN, DrawBanner, true},
    {TEX_MAKER, DrawMaker, true},
    {TEX_TITLE, DrawTitle, true},
    {TEX_LIGHT1, DrawLight1, false},
    {TEX_NUAGE, DrawNuage, false},
    {TEX_CH0, DrawCh0, false},
    {TEX_CH1, DrawCh1, false},
    {TEX_CH2, DrawCh2, false},
    {TEX_CH3, DrawCh3, false},
    {TEX_CH4, DrawCh4, false},
    {TEX_CH5, DrawCh5, false},
    {TEX_CARRELAGE, DrawCarrelage, false},
    {TEX_PIERRE, DrawPierre, false},
    {TEX_PETALE, DrawPetale, false},
    {TEX_ESPACE, DrawEspace, false},
    {TEX_CONTOUR, DrawContour, false},
    {TEX_ANO1, DrawAno1, false},
    {TEX_ANO2, DrawAno2, false},
    {TEX_ANO3, DrawAno3, false},
    {TEX_ANO4, DrawAno4, false},
    {TEX_SOLEIL, DrawSoleil, false},
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
    return LoadFont(boldFont, (dir + FONT_FILES[0]).c_str()) &&
           LoadFont(bookFont, (dir + FONT_FILES[1]).c_str());
}

bool WritePicture(int id, const std::string &dir) {
    const Picture &p = PICTURES[id];
    Image img = p.draw();
    return WriteBmp(dir + "/" + textureNames[p.id] + ".bmp", img, p.mirrored);
}

}  // namespace kelvorin::art

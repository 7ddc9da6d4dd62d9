// The art generator in the browser: the page's workers (page/art-worker.js) run this build of it
// to draw the demo's pictures in the page rather than download them. Each picture comes out as
// the same BMP bytes that kelvorin-gentextures writes into build/Data/: the generator's
// arithmetic is our own and IEEE's in every build. The worker puts the subset of the DejaVu
// fonts that the lettering needs where kelvorin_font_path says, and reads each picture from
// where kelvorin_picture_path says, both in this program's own file system.
#include <emscripten.h>

#include <string>

#include "art/pictures.h"
#include "assets/textures.h"

using namespace kelvorin;
using namespace kelvorin::art;

namespace {

std::string path;  // the last path handed out

}  // namespace

// Where font i goes (FONT_DIR and its file name), or null past the last.
extern "C" EMSCRIPTEN_KEEPALIVE const char *kelvorin_font_path(int i) {
    if (i < 0 || i >= NUM_FONTS) return nullptr;
    path = std::string(FONT_DIR) + FONT_FILES[i];
    return path.c_str();
}

// Where picture id is written: the name the demo reads it by, from the root of the file system.
extern "C" EMSCRIPTEN_KEEPALIVE const char *kelvorin_picture_path(int id) {
    if (id < 0 || id >= NUM_TEXTURES) return nullptr;
    path = std::string("/Data/") + textureNames[id] + ".bmp";
    return path.c_str();
}

// Draws picture id at its path; 0 when the fonts cannot be read (the reason is on standard
// error) or the id is out of range.
extern "C" EMSCRIPTEN_KEEPALIVE int kelvorin_draw_picture(int id) {
    static const bool fonts = LoadFonts(FONT_DIR);
    if (!fonts || id < 0 || id >= NUM_TEXTURES) return 0;
    return WritePicture(id, "/Data") ? 1 : 0;
}

int main() { return 0; }

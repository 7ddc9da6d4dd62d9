// TrueType lettering into masks, measured on its ink and centred; the chrome colour ramp.
#include "art/lettering.h"

#define STB_TRUETYPE_IMPLEMENTATION  // stb_truetype's own code, compiled here once
#include <stb_truetype.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace kelvorin::art {

Font boldFont, bookFont;

bool LoadFont(Font &f, const char *path) {
    FILE *file = std::fopen(path, "rb");
    if (!file) {
        std::fprintf(stderr, "kelvorin-gentextures: cannot open font %s: %s\n", path,
                     std::strerror(errno));
        return false;
    }
    unsigned char chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        f.data.insert(f.data.end(), chunk, chunk + n);
    std::fclose(file);
    int x0, y0, x1, y1,
        offset = f.data.empty() ? -1 : stbtt_GetFontOffsetForIndex(f.data.data(), 0);
    if (offset < 0 || !stbtt_InitFont(&f.info, f.data.data(), offset) ||
        !stbtt_GetCodepointBox(&f.info, 'H', &x0, &y0, &x1, &y1) || y1 <= y0) {
        std::fprintf(stderr, "kelvorin-gentextures: %s is not a usable TrueType font\n", path);
        return false;
    }
    f.capUnits = (float)(y1 - y0);
    return true;
}

namespace {

std::vector<int> Codepoints(const char *s) {  // UTF-8 up to two bytes is all we write
    std::vector<int> out;
    for (const unsigned char *p = (const unsigned char *)s; *p; ++p) {
        if (*p >= 0xC0 && *p < 0xE0 && (p[1] & 0xC0) == 0x80) {
            out.push_back((*p & 0x1F) << 6 | (p[1] & 0x3F));
            ++p;
        } else {
            out.push_back(*p);
        }
    }
    return out;
}

}  // namespace

float RasteriseText(Mask *m, const TextStyle &st, const char *s, float cx, float cy) {
    const stbtt_fontinfo *info = &st.font->info;
    float sy = st.cap / st.font->capUnits, sx = sy * st.xScale;
    std::vector<int> glyphs;
    std::vector<float> pens;
    float pen = 0, inkMin = 1e9f, inkMax = -1e9f;
    int prev = 0;
    for (int cp : Codepoints(s)) {
        int g = stbtt_FindGlyphIndex(info, cp);
        if (prev) pen += sx * stbtt_GetGlyphKernAdvance(info, prev, g);
        int bx0, by0, bx1, by1, advance, lsb;
        if (stbtt_GetGlyphBox(info, g, &bx0, &by0, &bx1, &by1)) {
            inkMin = std::min(inkMin, pen + bx0 * sx);
            inkMax = std::max(inkMax, pen + bx1 * sx);
        }
        glyphs.push_back(g);
        pens.push_back(pen);
        stbtt_GetGlyphHMetrics(info, g, &advance, &lsb);
        pen += advance * sx + st.tracking * st.cap;
        prev = g;
    }
    if (inkMax < inkMin) return 0;
    if (m) {
        float originX = cx - (inkMin + inkMax) * 0.5f, baseline = cy + st.cap * 0.5f;
        float by = std::floor(baseline), fy = baseline - by;
        std::vector<unsigned char> buf;
        for (size_t i = 0; i < glyphs.size(); ++i) {
            float gx = originX + pens[i], bx = std::floor(gx), fx = gx - bx;
            int x0, y0, x1, y1;
            stbtt_GetGlyphBitmapBoxSubpixel(info, glyphs[i], sx, sy, fx, fy, &x0, &y0, &x1, &y1);
            int bw = x1 - x0, bh = y1 - y0;
            if (bw <= 0 || bh <= 0) continue;
            buf.assign((size_t)bw * bh, 0);
            stbtt_MakeGlyphBitmapSubpixel(info, buf.data(), bw, bh, bw, sx, sy, fx, fy, glyphs[i]);
            for (int j = 0; j < bh; ++j)
                for (int k = 0; k < bw; ++k)
                    m->Put((int)bx + x0 + k, (int)by + y0 + j, buf[(size_t)j * bw + k] / 255.0f);
        }
    }
    return inkMax - inkMin;
}

TextStyle FitText(TextStyle st, const char *s, float maxWidth) {
    float w = RasteriseText(nullptr, st, s, 0, 0);
    if (w > maxWidth) st.cap *= maxWidth / w;
    return st;
}

Rgb ChromeColour(float t, Rgb sky, Rgb deep, Rgb ground) {
    Rgb c = t < 0.5f ? Mix(WHITE * 1.25f, sky, SmoothStep(0, 0.5f, t))
                     : Mix(deep, ground, SmoothStep(0.5f, 1.05f, t));
    return c + WHITE * (0.9f * Gaussian((t - 0.5f) / 0.03f));
}

}  // namespace kelvorin::art

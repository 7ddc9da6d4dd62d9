// The 23 pictures that kelvorin-gentextures writes into Data/: each loads through the demo's
// own BMP loader at a size OpenGL 1.1 takes, is not blank, keeps the edges of its additive
// sprites dark (GL_REPEAT would pull a bright edge onto the opposite side), tiles where the
// demo repeats it, and comes out byte for byte the same on every run of the generator.
#include "assets/bmp.h"

#include <gtest/gtest.h>
#include <png.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace kelvorin {
namespace {

namespace fs = std::filesystem;

const std::vector<std::string> NAMES = {
    "quorvanel", "logokelv", "kelvorin", "maker", "title", "light1",    "nuage",  "ch0",
    "ch1",       "ch2",      "ch3",      "ch4",   "ch5",   "carrelage", "pierre", "petale",
    "espace",    "contour",  "ano1",     "ano2",  "ano3",  "ano4",      "soleil"};

// Pictures the demo adds onto the screen as sprites or layers.
const std::vector<std::string> ADDITIVE = {
    "quorvanel", "logokelv", "maker",  "title",   "light1", "ch0",  "ch1",  "ch2",  "ch3",
    "ch4",       "ch5",      "petale", "contour", "ano1",   "ano2", "ano3", "ano4", "soleil"};

const int DARK = 8;  // the brightest channel value that still counts as black on screen

struct Picture {
    int w = 0, h = 0;
    std::vector<unsigned char> rgb;  // bottom row first, as the loader delivers it
    int channel(int x, int y, int c) const { return rgb[(size_t(y) * w + x) * 3 + c]; }
    int brightest(int x, int y) const {
        return std::max({channel(x, y, 0), channel(x, y, 1), channel(x, y, 2)});
    }
    int diff(int x0, int y0, int x1, int y1) const {
        int d = 0;
        for (int c = 0; c < 3; ++c) d += std::abs(channel(x0, y0, c) - channel(x1, y1, c));
        return d;
    }
};

// Loads Data/NAME.bmp through LoadDIBImage; an empty picture when it fails.
Picture Load(const std::string &name) {
    Picture p;
    RGBImage *img = LoadDIBImage(("Data/" + name + ".bmp").c_str());
    if (!img) return p;
    p.w = img->width;
    p.h = img->height;
    if (p.w > 0 && p.h > 0) p.rgb.assign(img->data, img->data + size_t(p.w) * p.h * 3);
    free(img->data);
    free(img);
    return p;
}

std::vector<unsigned char> ReadBytes(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

uint32_t Le(const std::vector<unsigned char> &b, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | b[at + i];
    return v;
}

bool PowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

class GeneratedPicture : public testing::TestWithParam<std::string> {};

TEST_P(GeneratedPicture, IsAnUncompressedBottomUp24BitFile) {
    std::vector<unsigned char> b = ReadBytes("Data/" + GetParam() + ".bmp");
    ASSERT_GE(b.size(), 54u);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(Le(b, 2, 4), b.size());
    EXPECT_EQ(Le(b, 10, 4), 54u);  // pixels right after the two headers, no colour table
    EXPECT_EQ(Le(b, 14, 4), 40u);
    int32_t w = int32_t(Le(b, 18, 4)), h = int32_t(Le(b, 22, 4));
    EXPECT_GT(h, 0);  // bottom-up
    EXPECT_EQ(Le(b, 26, 2), 1u);
    EXPECT_EQ(Le(b, 28, 2), 24u);
    EXPECT_EQ(Le(b, 30, 4), 0u);
    EXPECT_EQ(b.size(), 54u + uint64_t(w) * uint64_t(h) * 3u);
}

TEST_P(GeneratedPicture, LoadsAtATextureSizeAndIsNotBlank) {
    Picture p = Load(GetParam());
    ASSERT_FALSE(p.rgb.empty()) << "LoadDIBImage refused Data/" << GetParam() << ".bmp";
    EXPECT_TRUE(PowerOfTwo(p.w)) << p.w;
    EXPECT_TRUE(PowerOfTwo(p.h)) << p.h;
    EXPECT_EQ(p.w % 4, 0);
    EXPECT_LE(std::max(p.w, p.h), 512);
    int lit = 0;
    for (int y = 0; y < p.h; ++y)
        for (int x = 0; x < p.w; ++x) lit += p.brightest(x, y) > 32;
    EXPECT_GT(lit, p.w * p.h / 50) << "fewer than 2% of the pixels are lit";
}

INSTANTIATE_TEST_SUITE_P(Data, GeneratedPicture, testing::ValuesIn(NAMES),
                         [](const testing::TestParamInfo<std::string> &i) { return i.param; });

class AdditivePicture : public testing::TestWithParam<std::string> {};

TEST_P(AdditivePicture, IsDarkAlongItsEdges) {
    Picture p = Load(GetParam());
    ASSERT_FALSE(p.rgb.empty());
    int worst = 0;
    for (int y = 0; y < p.h; ++y)
        for (int x = 0; x < p.w; ++x) {
            bool edge = x < 2 || y < 2 || x >= p.w - 2 || y >= p.h - 2;
            if (edge) worst = std::max(worst, p.brightest(x, y));
        }
    EXPECT_LE(worst, DARK);
}

INSTANTIATE_TEST_SUITE_P(Data, AdditivePicture, testing::ValuesIn(ADDITIVE),
                         [](const testing::TestParamInfo<std::string> &i) { return i.param; });

// Scene 3 cuts the credits picture into bands at t = 0.75, 0.5 and 0.26; a glow that crosses
// a cut would show as a bright sliver on the next band's quad.
TEST(GeneratedTextures, CreditBandsAreDarkAtTheirCuts) {
    Picture p = Load("maker");
    ASSERT_FALSE(p.rgb.empty());
    for (double t : {0.75, 0.5, 0.26}) {
        int row = int(t * p.h), worst = 0;
        for (int y = row - 3; y <= row + 3; ++y)
            for (int x = 0; x < p.w; ++x) worst = std::max(worst, p.brightest(x, y));
        EXPECT_LE(worst, DARK) << "at t = " << t;
    }
    // Each band holds a line of lettering.
    const double BANDS[5] = {0, 0.26, 0.5, 0.75, 1};
    for (int band = 0; band < 4; ++band) {
        int lit = 0;
        for (int y = int(BANDS[band] * p.h); y < int(BANDS[band + 1] * p.h); ++y)
            for (int x = 0; x < p.w; ++x) lit += p.brightest(x, y) > 160;
        EXPECT_GT(lit, 100) << "band " << band << " from the bottom is empty";
    }
}

// Mean colour step across the repeat seam, against the mean step between neighbours inside.
struct Seam {
    double across, inside;
};
Seam SeamAlong(const Picture &p, bool leftRight) {
    double across = 0, inside = 0;
    int n = leftRight ? p.h : p.w, m = leftRight ? p.w : p.h;
    for (int i = 0; i < n; ++i) {
        auto step = [&](int a, int b) {
            return leftRight ? p.diff(a, i, b, i) : p.diff(i, a, i, b);
        };
        across += step(m - 1, 0);
        for (int k = 0; k + 1 < m; ++k) inside += step(k, k + 1);
    }
    return {across / n, inside / (double(n) * (m - 1))};
}

void ExpectSeamless(const std::string &name, bool leftRight, bool topBottom) {
    Picture p = Load(name);
    ASSERT_FALSE(p.rgb.empty()) << name;
    for (int pass = 0; pass < 2; ++pass) {
        bool lr = pass == 0;
        if (!(lr ? leftRight : topBottom)) continue;
        Seam s = SeamAlong(p, lr);
        EXPECT_GT(s.inside, 0.5) << name << " is flat";
        EXPECT_LE(s.across, 1.5 * s.inside + 1)
            << name << (lr ? " left to right" : " top to bottom") << ": " << s.across
            << " across the seam, " << s.inside << " between neighbours";
    }
}

TEST(GeneratedTextures, CloudsTileBothWays) { ExpectSeamless("nuage", true, true); }
TEST(GeneratedTextures, FloorTileTilesBothWays) { ExpectSeamless("carrelage", true, true); }
TEST(GeneratedTextures, StoneTilesAroundTheColumn) { ExpectSeamless("pierre", true, false); }

TEST(GeneratedTextures, CountdownDigitsAndHalosAreAllDifferent) {
    for (const char *prefix : {"ch", "ano"}) {
        std::vector<std::vector<unsigned char>> seen;
        int first = prefix[0] == 'c' ? 0 : 1, last = prefix[0] == 'c' ? 5 : 4;
        for (int i = first; i <= last; ++i) {
            std::vector<unsigned char> b =
                ReadBytes("Data/" + std::string(prefix) + std::to_string(i) + ".bmp");
            ASSERT_FALSE(b.empty());
            for (const auto &other : seen)
                EXPECT_NE(b, other) << prefix << i << " repeats an earlier one";
            seen.push_back(b);
        }
    }
}

// The desktop icon, build/kelvorin.png, is the logo facing the viewer: over black it is the
// logo picture seen through sprite2's mirror, opaque inside the diamond and clear at the border.
TEST(GeneratedTextures, IconIsTheReadableLogoOnAClearGround) {
    png_image icon;
    std::memset(&icon, 0, sizeof icon);
    icon.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&icon, "kelvorin.png")) << icon.message;
    EXPECT_EQ(icon.width, 256u);
    EXPECT_EQ(icon.height, 256u);
    EXPECT_EQ(icon.format, (png_uint_32)PNG_FORMAT_RGBA);
    icon.format = PNG_FORMAT_RGBA;
    std::vector<png_byte> px(PNG_IMAGE_SIZE(icon));
    ASSERT_TRUE(png_image_finish_read(&icon, nullptr, px.data(), 0, nullptr)) << icon.message;
    Picture logo = Load("logokelv");
    ASSERT_EQ(logo.w, 256);
    ASSERT_EQ(logo.h, 256);
    auto at = [&](int x, int y, int c) { return (int)px[(size_t(y) * 256 + x) * 4 + c]; };
    int worst = 0, clearBorder = 0;
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            int alpha = at(x, y, 3);
            for (int c = 0; c < 3; ++c) {
                int overBlack = (at(x, y, c) * alpha + 127) / 255;
                worst = std::max(worst, std::abs(overBlack - logo.channel(255 - x, 255 - y, c)));
            }
            bool border = x < 2 || y < 2 || x >= 254 || y >= 254;
            clearBorder += border && alpha == 0;
        }
    EXPECT_LE(worst, 4) << "the icon over black differs from the mirrored logo picture";
    EXPECT_EQ(clearBorder, 256 * 256 - 252 * 252) << "border pixels that are not fully clear";
    EXPECT_EQ(at(128, 128, 3), 255);
    EXPECT_EQ(at(128, 40, 3), 255);
}

const std::string GENERATOR = KELVORIN_BUILD_DIR "/kelvorin-gentextures";

// Runs a shell command line, returns its exit status (-1 when it did not exit normally).
int RunCommand(const std::string &command) {
    int status = std::system(command.c_str());
    return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

fs::path MakeTempDir() {
    std::string pattern = (fs::temp_directory_path() / "kelvorin-tex-XXXXXX").string();
    char *made = mkdtemp(pattern.data());
    return made ? fs::path(made) : fs::path();
}

TEST(GeneratedTextures, GeneratorWritesExactlyTheTwentyThreeFilesTheSameEveryRun) {
    fs::path a = MakeTempDir(), b = MakeTempDir();
    ASSERT_FALSE(a.empty());
    ASSERT_FALSE(b.empty());
    ASSERT_EQ(RunCommand(GENERATOR + " " + a.string()), 0);
    ASSERT_EQ(RunCommand(GENERATOR + " " + b.string()), 0);
    std::set<std::string> written, expected;
    for (const std::string &n : NAMES) expected.insert(n + ".bmp");
    for (const auto &entry : fs::directory_iterator(a))
        written.insert(entry.path().filename().string());
    EXPECT_EQ(written, expected);
    for (const std::string &n : NAMES) {
        std::vector<unsigned char> first = ReadBytes(a / (n + ".bmp")),
                                   second = ReadBytes(b / (n + ".bmp"));
        EXPECT_FALSE(first.empty()) << n;
        EXPECT_TRUE(first == second) << n << " differs between two runs";
    }
    fs::remove_all(a);
    fs::remove_all(b);
}

TEST(GeneratedTextures, GeneratorRefusesAMissingArgumentOrFolder) {
    fs::path dir = MakeTempDir();
    ASSERT_FALSE(dir.empty());
    fs::path err = dir / "stderr";
    EXPECT_EQ(RunCommand(GENERATOR + " 2>" + err.string()), 2);
    std::vector<unsigned char> text = ReadBytes(err);
    EXPECT_NE(std::string(text.begin(), text.end()).find("usage"), std::string::npos);

    fs::path missing = dir / "no-such-folder";
    EXPECT_EQ(RunCommand(GENERATOR + " " + missing.string() + " 2>" + err.string()), 1);
    text = ReadBytes(err);
    EXPECT_NE(std::string(text.begin(), text.end()).find(missing.string()), std::string::npos)
        << "the message should name the file it could not write";
    fs::path icon = missing / "kelvorin.png";
    EXPECT_EQ(RunCommand(GENERATOR + " --icon " + icon.string() + " 2>" + err.string()), 1);
    text = ReadBytes(err);
    EXPECT_NE(std::string(text.begin(), text.end()).find(icon.string()), std::string::npos);
    EXPECT_FALSE(fs::exists(missing));
    fs::remove_all(dir);
}

}  // namespace
}  // namespace kelvorin

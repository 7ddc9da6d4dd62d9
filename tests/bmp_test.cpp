// The BMP loader on small files built here: each accepted layout, and each refusal with its
// message on standard error.
#include "assets/bmp.h"

#include <gtest/gtest.h>

#include <dirent.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace kelvorin {
namespace {

using Bytes = std::vector<unsigned char>;

void Put16(Bytes &b, uint32_t v) {
    b.push_back(v & 0xFF);
    b.push_back(v >> 8 & 0xFF);
}
void Put32(Bytes &b, uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}
void Append(Bytes &b, const Bytes &more) { b.insert(b.end(), more.begin(), more.end()); }

Bytes FileHeader(uint32_t pixelOffset) {
    Bytes b = {'B', 'M'};
    Put32(b, 0);  // file size, never read
    Put32(b, 0);
    Put32(b, pixelOffset);
    return b;
}

Bytes Info40(int32_t width, int32_t height, int bits, uint32_t compression = 0,
             uint32_t coloursUsed = 0) {
    Bytes b;
    Put32(b, 40);
    Put32(b, uint32_t(width));
    Put32(b, uint32_t(height));
    Put16(b, 1);
    Put16(b, bits);
    Put32(b, compression);
    Put32(b, 0);
    Put32(b, 2835);
    Put32(b, 2835);
    Put32(b, coloursUsed);
    Put32(b, 0);
    return b;
}

Bytes Info12(uint16_t width, uint16_t height, int bits) {
    Bytes b;
    Put32(b, 12);
    Put16(b, width);
    Put16(b, height);
    Put16(b, 1);
    Put16(b, bits);
    return b;
}

struct Colour {
    unsigned char r, g, b;
};

// A colour table of 4-byte (blue, green, red, unused) or 3-byte entries.
Bytes Table(const std::vector<Colour> &colours, int entrySize) {
    Bytes b;
    for (const Colour &c : colours) {
        b.push_back(c.b);
        b.push_back(c.g);
        b.push_back(c.r);
        if (entrySize == 4) b.push_back(0x5A);  // the unused byte must not matter
    }
    return b;
}

// A palette whose entries all differ, so that a shifted table shows.
std::vector<Colour> Palette(int n) {
    std::vector<Colour> p;
    for (int i = 0; i < n; i++)
        p.push_back(
            {(unsigned char)(i * 7 + 1), (unsigned char)(255 - i), (unsigned char)(i / 2 + 9)});
    return p;
}

// Pads a row to a multiple of 4 bytes, as rows are stored in the file.
Bytes Padded(Bytes row) {
    while (row.size() % 4) row.push_back(0xCC);
    return row;
}

// One row of palette indices, packed most significant bits first.
Bytes IndexRow(const std::vector<int> &indices, int bits) {
    Bytes row((indices.size() * bits + 7) / 8, 0);
    for (size_t x = 0; x < indices.size(); x++) {
        size_t bit = x * bits;
        row[bit / 8] |= indices[x] << (8 - bits - bit % 8);
    }
    return Padded(row);
}

Bytes Pixels16(const std::vector<uint16_t> &pixels) {
    Bytes row;
    for (uint16_t p : pixels) Put16(row, p);
    return Padded(row);
}

Bytes Pixels32(const std::vector<uint32_t> &pixels) {
    Bytes row;
    for (uint32_t p : pixels) Put32(row, p);
    return row;
}

Bytes Rgb(const std::vector<Colour> &colours) {
    Bytes b;
    for (const Colour &c : colours) b.insert(b.end(), {c.r, c.g, c.b});
    return b;
}

// A decoded image, copied out so that the loader's blocks can be freed at once.
struct Decoded {
    int32_t width, height;
    Bytes data;
};

class BmpTest : public testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = testing::TempDir() + "kelvorin-bmp-XXXXXX";
        ASSERT_NE(mkdtemp(&pattern[0]), nullptr);
        dir = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    std::string Write(const Bytes &bytes, const std::string &name = "image.bmp") {
        std::string path = dir + "/" + name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char *>(bytes.data()), bytes.size());
        return path;
    }

    // Loads the bytes; fails the test unless an image comes back.
    Decoded Load(const Bytes &bytes) {
        RGBImage *image = LoadDIBImage(Write(bytes).c_str());
        Decoded d = {0, 0, {}};
        EXPECT_NE(image, nullptr);
        if (!image) return d;
        d.width = image->width;
        d.height = image->height;
        d.data.assign(image->data, image->data + size_t(image->width) * image->height * 3);
        free(image->data);
        free(image);
        return d;
    }

    // Loads a path that must be refused; returns what was written on standard error.
    std::string RefusalOf(const std::string &path) {
        testing::internal::CaptureStderr();
        RGBImage *image = LoadDIBImage(path.c_str());
        std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(image, nullptr) << path;
        if (image) free(image->data), free(image);
        return err;
    }
    std::string Refusal(const Bytes &bytes) { return RefusalOf(Write(bytes)); }

    std::string dir;
};

const std::string UNKNOWN = "Error: Unknown DIB file format.\n";
const std::string CONVERSION = "Error: Image file conversion error.\n";
const std::string MEMORY = "Error: Out of memory.\n";

std::string OpenFailure(const std::string &path) {
    return "Error: Failed to open DIB file " + path + ".\n";
}

// The smallest layout with every part: file header, 40-byte header, 256 colours, 3 x 2 pixels.
Bytes EightBitFile() {
    Bytes f = FileHeader(14 + 40 + 1024);
    Append(f, Info40(3, 2, 8));
    Append(f, Table(Palette(256), 4));
    Append(f, IndexRow({0, 128, 255}, 8));
    Append(f, IndexRow({7, 200, 1}, 8));
    return f;
}

TEST_F(BmpTest, TwoByTwoBottomUpComesOutRedGreenBlue) {
    Bytes f = FileHeader(54);
    Append(f, Info40(2, 2, 24));
    Append(f, Padded({0xFF, 0, 0, 0, 0xFF, 0}));        // bottom: blue, green
    Append(f, Padded({0, 0, 0xFF, 0xFF, 0xFF, 0xFF}));  // top: red, white
    Decoded d = Load(f);
    EXPECT_EQ(d.width, 2);
    EXPECT_EQ(d.height, 2);
    EXPECT_EQ(d.data, Bytes({0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255}));
}

TEST_F(BmpTest, ThreeWideTrueColourRowsLoseTheirPadding) {
    Bytes f = FileHeader(54);
    Append(f, Info40(3, 2, 24));
    Bytes row0 = {1, 2, 3, 4, 5, 6, 7, 8, 9}, row1 = {10, 11, 12, 13, 14, 15, 16, 17, 18};
    Append(f, Padded(row0));
    Append(f, Padded(row1));
    ASSERT_EQ(f.size(), 54u + 2 * 12);
    Decoded d = Load(f);
    EXPECT_EQ(d.data, Bytes({3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10, 15, 14, 13, 18, 17, 16}));
}

TEST_F(BmpTest, EightBitFileReadsItsFullTable) {
    Decoded d = Load(EightBitFile());
    std::vector<Colour> p = Palette(256);
    EXPECT_EQ(d.width, 3);
    EXPECT_EQ(d.height, 2);
    EXPECT_EQ(d.data, Rgb({p[0], p[128], p[255], p[7], p[200], p[1]}));
}

TEST_F(BmpTest, PackedDibFindsPixelsAfterTheTable) {
    // Without a file header the pixels follow the 256 entries that colours used 0 implies.
    Bytes f = Info40(3, 1, 8);
    Append(f, Table(Palette(256), 4));
    Append(f, IndexRow({255, 0, 77}, 8));
    std::vector<Colour> p = Palette(256);
    EXPECT_EQ(Load(f).data, Rgb({p[255], p[0], p[77]}));
}

TEST_F(BmpTest, ColoursUsedSetsTheTableLength) {
    // 20 entries, then pixels; index 20 lies past the table and comes out black.
    Bytes f = Info40(3, 1, 8, 0, 20);
    Append(f, Table(Palette(20), 4));
    Append(f, IndexRow({19, 20, 0}, 8));
    std::vector<Colour> p = Palette(20);
    EXPECT_EQ(Load(f).data, Rgb({p[19], {0, 0, 0}, p[0]}));
}

TEST_F(BmpTest, OnlyTheLowSixteenBitsOfColoursUsedCount) {
    Bytes f = Info40(2, 1, 8, 0, 0x10002);
    Append(f, Table(Palette(2), 4));
    Append(f, IndexRow({1, 2}, 8));
    EXPECT_EQ(Load(f).data, Rgb({Palette(2)[1], {0, 0, 0}}));
}

TEST_F(BmpTest, TrueColourSkipsTheEntriesColoursUsedNames) {
    Bytes f = Info40(1, 1, 24, 0, 3);
    Append(f, Table(Palette(3), 4));
    Append(f, Padded({30, 20, 10}));
    EXPECT_EQ(Load(f).data, Bytes({10, 20, 30}));
}

TEST_F(BmpTest, FileHeaderOffsetLocatesThePixels) {
    // Six stray bytes between the table and the pixels: only the offset finds them.
    Bytes f = FileHeader(14 + 40 + 8 + 6);
    Append(f, Info40(2, 1, 8, 0, 2));
    Append(f, Table(Palette(2), 4));
    Append(f, {9, 9, 9, 9, 9, 9});
    Append(f, IndexRow({1, 0}, 8));
    std::vector<Colour> p = Palette(2);
    EXPECT_EQ(Load(f).data, Rgb({p[1], p[0]}));
}

TEST_F(BmpTest, SmallHeaderMatchesTheStandardOne) {
    std::vector<std::vector<int>> rows = {
        {0, 5, 250, 17, 99}, {255, 3, 3, 128, 64}, {1, 2, 3, 4, 5}};
    Bytes standard = Info40(5, 3, 8), small = Info12(5, 3, 8);
    Append(standard, Table(Palette(256), 4));
    Append(small, Table(Palette(256), 3));
    for (const auto &row : rows) {
        Append(standard, IndexRow(row, 8));
        Append(small, IndexRow(row, 8));
    }
    Bytes smallWithHeader = FileHeader(14 + 12 + 768);
    Append(smallWithHeader, small);

    Decoded a = Load(standard), b = Load(small), c = Load(smallWithHeader);
    std::vector<Colour> p = Palette(256), expected;
    for (const auto &row : rows)
        for (int i : row) expected.push_back(p[i]);
    EXPECT_EQ(a.data, Rgb(expected));
    EXPECT_EQ(b.data, a.data);
    EXPECT_EQ(c.data, a.data);
    EXPECT_EQ(b.width, 5);
    EXPECT_EQ(b.height, 3);
}

TEST_F(BmpTest, SmallHeaderTrueColour) {
    Bytes f = Info12(2, 1, 24);
    Append(f, Padded({1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(Load(f).data, Bytes({3, 2, 1, 6, 5, 4}));
}

TEST_F(BmpTest, OneBitPixelsRunFromTheHighBit) {
    Bytes f = Info40(10, 1, 1);
    Append(f, Table({{10, 20, 30}, {200, 100, 50}}, 4));
    Append(f, {0xB3, 0x40, 0, 0});  // 1011 0011 01
    Decoded d = Load(f);
    Colour o = {10, 20, 30}, l = {200, 100, 50};
    EXPECT_EQ(d.data, Rgb({l, o, l, l, o, o, l, l, o, l}));
}

TEST_F(BmpTest, FourBitPixelsRunFromTheHighNibble) {
    Bytes f = Info40(3, 1, 4);
    Append(f, Table(Palette(16), 4));
    Append(f, {0x1F, 0x20, 0, 0});
    std::vector<Colour> p = Palette(16);
    EXPECT_EQ(Load(f).data, Rgb({p[1], p[15], p[2]}));
}

TEST_F(BmpTest, PaletteDepthsAtEveryWidth) {
    // Widths 1 to 9 put the last pixel at every position within a byte and a row.
    for (int bits : {1, 4, 8}) {
        for (int width = 1; width <= 9; width++) {
            int n = 1 << bits;
            std::vector<Colour> p = Palette(n), expected;
            Bytes f = FileHeader(14 + 40 + 4 * n);
            Append(f, Info40(width, 2, bits));
            Append(f, Table(p, 4));
            for (int y = 0; y < 2; y++) {
                std::vector<int> row;
                for (int x = 0; x < width; x++) row.push_back((x * 5 + y * 3 + 1) % n);
                Append(f, IndexRow(row, bits));
                for (int i : row) expected.push_back(p[i]);
            }
            Decoded d = Load(f);
            EXPECT_EQ(d.width, width);
            EXPECT_EQ(d.data, Rgb(expected)) << bits << " bits, width " << width;
        }
    }
}

TEST_F(BmpTest, SixteenBitIsFiveFiveFive) {
    Bytes f = Info40(6, 1, 16);
    Append(f, Pixels16({0x7C00, 0x03E0, 0x001F, 0x7FFF, 0x8000, 0x4210}));
    EXPECT_EQ(
        Load(f).data,
        Rgb({{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}, {0, 0, 0}, {132, 132, 132}}));
}

TEST_F(BmpTest, ThirtyTwoBitIgnoresTheFourthByte) {
    Bytes f = FileHeader(54);
    Append(f, Info40(2, 1, 32));
    Append(f, {30, 20, 10, 0xEE, 3, 2, 1, 0x00});
    EXPECT_EQ(Load(f).data, Bytes({10, 20, 30, 1, 2, 3}));
}

TEST_F(BmpTest, SixteenBitFieldsUseTheirMasks) {
    // 5-6-5: the masks follow the header, the pixels follow the masks.
    Bytes f = Info40(5, 1, 16, 3);
    Append(f, Pixels32({0xF800, 0x07E0, 0x001F}));
    Append(f, Pixels16({0xFFFF, 0xF800, 0x07E0, 0x0020, 0x0841}));
    EXPECT_EQ(Load(f).data, Rgb({{255, 255, 255}, {255, 0, 0}, {0, 255, 0}, {0, 4, 0}, {8, 8, 8}}));
}

TEST_F(BmpTest, ThirtyTwoBitFieldsUseTheirMasks) {
    Bytes f = FileHeader(14 + 40 + 12);
    Append(f, Info40(2, 1, 32, 3));
    Append(f, Pixels32({0x000000FF, 0x0000FF00, 0x00FF0000}));  // red in the low byte
    Append(f, Pixels32({0x44332211, 0x00FFFFFF}));
    EXPECT_EQ(Load(f).data, Bytes({0x11, 0x22, 0x33, 255, 255, 255}));

    Bytes g = Info40(2, 1, 32, 3);  // ten bits a channel
    Append(g, Pixels32({0x3FF00000, 0x000FFC00, 0x000003FF}));
    Append(g, Pixels32({0x3FF00000 | 512 << 10, 0x000003FF}));
    EXPECT_EQ(Load(g).data, Bytes({255, 128, 0, 0, 0, 255}));
}

TEST_F(BmpTest, TopDownRowsAreTurnedOver) {
    Bytes down = Info40(2, -3, 24), up = Info40(2, 3, 24);
    std::vector<Bytes> rows = {Padded({1, 2, 3, 4, 5, 6}), Padded({7, 8, 9, 10, 11, 12}),
                               Padded({13, 14, 15, 16, 17, 18})};
    for (int r = 0; r < 3; r++) {
        Append(down, rows[r]);
        Append(up, rows[2 - r]);
    }
    Decoded d = Load(down);
    EXPECT_EQ(d.height, 3);
    EXPECT_EQ(d.data, Bytes({15, 14, 13, 18, 17, 16, 9, 8, 7, 12, 11, 10, 3, 2, 1, 6, 5, 4}));
    EXPECT_EQ(Load(up).data, d.data);
}

TEST_F(BmpTest, OtherHeaderSizesAreUnknown) {
    for (uint32_t size : {108u, 124u, 64u, 16u, 0u}) {
        Bytes info = Info40(1, 1, 24);
        info.resize(std::max<size_t>(size, 40), 0);
        info[0] = size & 0xFF;
        Bytes packed = info, withHeader = FileHeader(14 + uint32_t(info.size()));
        Append(packed, Padded({1, 2, 3}));
        Append(withHeader, packed);
        EXPECT_EQ(Refusal(packed), UNKNOWN) << size;
        EXPECT_EQ(Refusal(withHeader), UNKNOWN) << size;
    }
}

TEST_F(BmpTest, EmptyMissingAndDirectoryPathsFailToOpen) {
    std::string empty = Write({}, "empty.bmp");
    EXPECT_EQ(RefusalOf(empty), OpenFailure(empty));
    std::string missing = dir + "/missing.bmp";
    EXPECT_EQ(RefusalOf(missing), OpenFailure(missing));
    EXPECT_EQ(RefusalOf(dir), OpenFailure(dir));
}

TEST_F(BmpTest, LongNameIsCutInTheOpenMessage) {
    std::string path = dir + "/" + std::string(300, 'n') + ".bmp";
    std::string text = ("Failed to open DIB file " + path + ".\n").substr(0, 255);
    EXPECT_EQ(RefusalOf(path), "Error: " + text + "\n");
}

TEST_F(BmpTest, NonPositiveWidthOrZeroHeightIsUnknown) {
    for (auto wh : {std::pair<int32_t, int32_t>{0, 1}, {-1, 1}, {INT32_MIN, 1}, {1, 0}}) {
        Bytes f = Info40(wh.first, wh.second, 24);
        Append(f, Padded({1, 2, 3}));
        EXPECT_EQ(Refusal(f), UNKNOWN) << wh.first << " x " << wh.second;
    }
    Bytes narrow = Info12(0, 1, 24), flat = Info12(1, 0, 24);
    Append(narrow, Padded({1, 2, 3}));
    Append(flat, Padded({1, 2, 3}));
    EXPECT_EQ(Refusal(narrow), UNKNOWN);
    EXPECT_EQ(Refusal(flat), UNKNOWN);
}

TEST_F(BmpTest, UnsupportedDepthsAreConversionErrors) {
    for (int bits : {0, 2, 3, 7, 15, 48, 64}) {
        Bytes f = Info40(1, 1, bits);
        Append(f, Bytes(1024 + 16, 0));
        EXPECT_EQ(Refusal(f), CONVERSION) << bits;
    }
    Bytes small = Info12(1, 1, 2);
    Append(small, Bytes(64, 0));
    EXPECT_EQ(Refusal(small), CONVERSION);
}

TEST_F(BmpTest, UndecodedCompressionsAreConversionErrors) {
    // RLE8, RLE4, bit fields on palette and 24-bit data, JPEG, PNG, alpha bit fields.
    for (auto bc : {std::pair<int, uint32_t>{8, 1},
                    {4, 2},
                    {8, 3},
                    {24, 3},
                    {24, 4},
                    {24, 5},
                    {32, 6},
                    {16, 0x80000000}}) {
        Bytes f = Info40(1, 1, bc.first, bc.second);
        Append(f, Bytes(1024 + 16, 0));
        EXPECT_EQ(Refusal(f), CONVERSION) << bc.first << " bits, compression " << bc.second;
    }
}

TEST_F(BmpTest, ScatteredMaskIsAConversionError) {
    Bytes f = Info40(1, 1, 16, 3);
    Append(f, Pixels32({0xF000 | 0x0100, 0x07E0, 0x001F}));
    Append(f, Pixels16({0xFFFF}));
    EXPECT_EQ(Refusal(f), CONVERSION);
}

TEST_F(BmpTest, OversizedPixelBlocksAreOutOfMemory) {
    // 65536 x 1366 x 3 bytes is just over 256 MiB; 16384 x 5461 x 3 is just under, and its
    // missing rows are what refuses it.
    std::vector<std::pair<int32_t, int32_t>> huge = {
        {65536, 1366}, {INT32_MAX, INT32_MAX}, {INT32_MAX, -INT32_MAX}, {1, INT32_MIN}};
    for (auto wh : huge) {
        Bytes f = Info40(wh.first, wh.second, 24);
        Append(f, Padded({1, 2, 3}));
        EXPECT_EQ(Refusal(f), MEMORY) << wh.first << " x " << wh.second;
    }
    Bytes small = Info12(65535, 65535, 1);
    Append(small, Table(Palette(2), 3));
    EXPECT_EQ(Refusal(small), MEMORY);
    Bytes under = Info40(16384, 5461, 24);
    Append(under, Padded({1, 2, 3}));
    EXPECT_EQ(Refusal(under), CONVERSION);
}

TEST_F(BmpTest, DataPastTheEndIsAConversionError) {
    Bytes f = EightBitFile();
    EXPECT_EQ(Refusal(Bytes(f.begin(), f.begin() + 14 + 40 + 1000)), CONVERSION);  // table
    EXPECT_EQ(Refusal(Bytes(f.begin(), f.end() - 1)), CONVERSION);                 // last row
    Bytes far = f;
    far[10] = 0xF0, far[11] = 0xFF, far[12] = 0xFF, far[13] = 0xFF;  // offset past the end
    EXPECT_EQ(Refusal(far), CONVERSION);
    Bytes masks = Info40(1, 1, 16, 3);
    Append(masks, {0, 0xF8, 0, 0, 0xE0, 0x07});
    EXPECT_EQ(Refusal(masks), CONVERSION);
}

TEST_F(BmpTest, EveryPrefixOfAFileIsRefused) {
    // Each file with the length of its headers: shorter is an unknown format, longer a
    // conversion error, nothing at all an open failure.
    Bytes small = FileHeader(14 + 12 + 48);
    Append(small, Info12(3, 2, 4));
    Append(small, Table(Palette(16), 3));
    Append(small, IndexRow({1, 2, 3}, 4));
    Append(small, IndexRow({4, 5, 6}, 4));
    Bytes fields = Info40(2, 2, 16, 3);
    Append(fields, Pixels32({0xF800, 0x07E0, 0x001F}));
    Append(fields, Pixels16({1, 2}));
    Append(fields, Pixels16({3, 4}));
    Bytes packed = Info40(3, 1, 8, 0, 4);
    Append(packed, Table(Palette(4), 4));
    Append(packed, IndexRow({1, 2, 3}, 8));
    std::vector<std::pair<Bytes, size_t>> files = {
        {EightBitFile(), 54}, {small, 26}, {fields, 40}, {packed, 40}};

    for (const auto &file : files) {
        const Bytes &f = file.first;
        Load(f);  // whole, it loads
        for (size_t length = 0; length < f.size(); length++) {
            std::string path = Write(Bytes(f.begin(), f.begin() + length));
            std::string expected = length == 0            ? OpenFailure(path)
                                   : length < file.second ? UNKNOWN
                                                          : CONVERSION;
            ASSERT_EQ(RefusalOf(path), expected) << length << " of " << f.size();
        }
    }
}

int OpenDescriptors() {
    int n = 0;
    DIR *d = opendir("/proc/self/fd");
    while (d && readdir(d)) n++;
    if (d) closedir(d);
    return n;
}

TEST_F(BmpTest, NothingStaysOpenOrMapped) {
    int before = OpenDescriptors();
    std::string good = Write(EightBitFile(), "good.bmp");
    Bytes cut = EightBitFile();
    cut.pop_back();
    std::string bad = Write(cut, "bad.bmp");
    for (int i = 0; i < 3; i++) {
        RGBImage *image = LoadDIBImage(good.c_str());
        ASSERT_NE(image, nullptr);
        free(image->data);
        free(image);
        EXPECT_EQ(RefusalOf(bad), CONVERSION);
    }
    EXPECT_EQ(OpenDescriptors(), before);
    std::ifstream maps("/proc/self/maps");
    std::string maps_text((std::istreambuf_iterator<char>(maps)), std::istreambuf_iterator<char>());
    EXPECT_EQ(maps_text.find(dir), std::string::npos);
}

}  // namespace
}  // namespace kelvorin

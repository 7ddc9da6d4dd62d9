// Reads a BMP file into memory and converts its pixels to packed RGB rows. Every field is
// checked against the file's length before it is read; a refused file leaves nothing behind
// (descriptor and memory are released before the message is shown).
#include "assets/bmp.h"

#include "platform/platform.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// Windows opens files as text unless told otherwise, and knows no close-on-exec.
#ifndef O_BINARY
#define O_BINARY 0
#endif
#ifndef O_CLOEXEC
#define O_CLOEXEC 0
#endif

namespace kelvorin {

namespace {

const char *const OUT_OF_MEMORY = "Out of memory.";
const char *const UNKNOWN_FORMAT = "Unknown DIB file format.";
const char *const CONVERSION_ERROR = "Image file conversion error.";

// Larger pictures are refused before anything is allocated: the demo's textures are far
// smaller, and a hostile header must not make us ask for gigabytes.
const uint64_t MAX_PIXEL_BLOCK = 256u << 20;

const uint32_t BI_RGB = 0;
const uint32_t BI_BITFIELDS = 3;

// The information header in its 40-byte form, whichever form the file holds.
struct DIBHeader {
    uint32_t size;
    int32_t width;
    int32_t height;
    uint16_t planes;
    uint16_t bitCount;
    uint32_t compression;
    uint32_t imageSize;
    int32_t xPelsPerMeter;
    int32_t yPelsPerMeter;
    uint32_t clrUsed;
    uint32_t clrImportant;
};

uint16_t Read16(const unsigned char *p) { return uint16_t(p[0] | p[1] << 8); }

uint32_t Read32(const unsigned char *p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// Entries in the colour table: colours used when the standard form gives it (low 16 bits
// only), otherwise a full table for the palette depths and none for the others.
uint32_t DIBColorCount(const unsigned char *info) {
    uint32_t headerSize = Read32(info);
    if (headerSize == 40 && Read32(info + 32) != 0) return Read32(info + 32) & 0xFFFF;
    uint16_t bitCount = headerSize == 12 ? Read16(info + 10) : Read16(info + 14);
    switch (bitCount) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
    }
}

// One colour channel of a 16- or 32-bit pixel: where its bits sit and how many there are.
struct Channel {
    uint32_t mask;
    int shift;
    uint32_t max;  // the channel's largest value once shifted down
};

// False for a mask whose bits are not one contiguous run.
bool MakeChannel(uint32_t mask, Channel *c) {
    c->mask = mask;
    c->shift = 0;
    c->max = 0;
    if (mask == 0) return true;
    while (!(mask >> c->shift & 1)) c->shift++;
    c->max = mask >> c->shift;
    return (c->max & (c->max + 1)) == 0;
}

// Scales the channel to 8 bits with rounding, so that a full 5-bit value gives 255.
unsigned char Expand(const Channel &c, uint32_t pixel) {
    if (c.max == 0) return 0;
    uint64_t v = (pixel & c.mask) >> c.shift;
    return (unsigned char)((v * 255 + c.max / 2) / c.max);
}

// Decodes one file row into one packed row (red, green, blue). palette holds colourCount
// entries of blue, green, red, unused; an index past its end gives black.
void DecodeRow(const DIBHeader &h, const unsigned char *palette, uint32_t colourCount,
               const Channel *channels, const unsigned char *src, unsigned char *dst) {
    int bits = h.bitCount;
    for (int32_t x = 0; x < h.width; x++, dst += 3) {
        if (bits <= 8) {
            uint64_t bitPos = uint64_t(x) * bits;
            int shift = 8 - bits - int(bitPos & 7);
            uint32_t index = (src[bitPos >> 3] >> shift) & ((1u << bits) - 1);
            if (index < colourCount) {
                const unsigned char *e = palette + 4 * index;
                dst[0] = e[2], dst[1] = e[1], dst[2] = e[0];
            } else {
                dst[0] = dst[1] = dst[2] = 0;
            }
        } else if (bits == 24) {
            const unsigned char *p = src + 3 * uint64_t(x);
            dst[0] = p[2], dst[1] = p[1], dst[2] = p[0];
        } else {
            uint32_t pixel =
                bits == 16 ? Read16(src + 2 * uint64_t(x)) : Read32(src + 4 * uint64_t(x));
            for (int c = 0; c < 3; c++) dst[c] = Expand(channels[c], pixel);
        }
    }
}

// Decodes the file's bytes; returns the message of the failure, or null with *result set.
const char *DecodeDIB(const unsigned char *file, uint64_t fileSize, RGBImage **result) {
    // The optional file header and where the information header starts.
    bool fileHeader = fileSize >= 2 && Read16(file) == 0x4D42;
    uint64_t infoStart = fileHeader ? 14 : 0;
    if (fileSize < infoStart + 4) return UNKNOWN_FORMAT;
    const unsigned char *info = file + infoStart;
    uint32_t infoSize = Read32(info);
    if ((infoSize != 12 && infoSize != 40) || fileSize < infoStart + infoSize)
        return UNKNOWN_FORMAT;

    // The normalised header.
    uint32_t colourCount = DIBColorCount(info);
    DIBHeader h;
    if (infoSize == 40) {
        h.size = 40;
        h.width = int32_t(Read32(info + 4));
        h.height = int32_t(Read32(info + 8));
        h.planes = Read16(info + 12);
        h.bitCount = Read16(info + 14);
        h.compression = Read32(info + 16);
        h.imageSize = Read32(info + 20);
        h.xPelsPerMeter = int32_t(Read32(info + 24));
        h.yPelsPerMeter = int32_t(Read32(info + 28));
        h.clrUsed = Read32(info + 32);
        h.clrImportant = Read32(info + 36);
    } else {
        h.size = 40;
        h.width = Read16(info + 4);
        h.height = Read16(info + 6);
        h.planes = Read16(info + 8);
        h.bitCount = Read16(info + 10);
        h.compression = BI_RGB;
        h.imageSize = 0;
        h.xPelsPerMeter = h.yPelsPerMeter = 0;
        h.clrUsed = h.clrImportant = colourCount;
    }
    if (h.clrUsed == 0) h.clrUsed = colourCount;
    if (h.width <= 0 || h.height == 0) return UNKNOWN_FORMAT;

    int bits = h.bitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return CONVERSION_ERROR;
    bool bitFields = h.compression == BI_BITFIELDS;
    if (h.compression != BI_RGB && !(bitFields && (bits == 16 || bits == 32)))
        return CONVERSION_ERROR;

    // The three masks of a bit-field file sit between the header and the colour table.
    uint64_t tableStart = infoStart + infoSize + (bitFields ? 12 : 0);
    uint64_t entrySize = infoSize == 12 ? 3 : 4;
    uint64_t tableEnd = tableStart + entrySize * colourCount;
    if (tableEnd > fileSize) return CONVERSION_ERROR;
    uint64_t pixelStart = fileHeader ? Read32(file + 10) : tableEnd;

    Channel channels[3] = {};
    if (bits == 16 || bits == 32) {
        uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};  // 5-5-5, the top bit unused
        if (bits == 32) masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
        if (bitFields)
            for (int c = 0; c < 3; c++) masks[c] = Read32(file + infoStart + infoSize + 4 * c);
        for (int c = 0; c < 3; c++)
            if (!MakeChannel(masks[c], &channels[c])) return CONVERSION_ERROR;
    }

    // Sizes in 64 bits: width and height are each at most 2^31, so nothing here overflows.
    uint64_t rows = h.height < 0 ? uint64_t(-int64_t(h.height)) : uint64_t(h.height);
    uint64_t blockSize = uint64_t(h.width) * rows * 3;
    if (blockSize > MAX_PIXEL_BLOCK) return OUT_OF_MEMORY;
    uint64_t stride = (uint64_t(h.width) * bits + 31) / 32 * 4;
    if (pixelStart > fileSize || stride * rows > fileSize - pixelStart) return CONVERSION_ERROR;

    // The colour table, widened to 4-byte entries (blue, green, red, unused) and one spare.
    unsigned char *palette = (unsigned char *)malloc(4 + 4 * size_t(colourCount));
    if (!palette) return OUT_OF_MEMORY;
    for (uint32_t i = 0; i < colourCount; i++) {
        const unsigned char *e = file + tableStart + entrySize * i;
        palette[4 * i] = e[0], palette[4 * i + 1] = e[1], palette[4 * i + 2] = e[2];
        palette[4 * i + 3] = entrySize == 4 ? e[3] : 0;
    }

    unsigned char *block = (unsigned char *)malloc(blockSize);
    RGBImage *image = block ? (RGBImage *)malloc(sizeof(RGBImage)) : nullptr;
    if (!image) {
        free(block);
        free(palette);
        return OUT_OF_MEMORY;
    }
    // Bottom-up rows go across in file order; top-down ones are turned over so that every
    // block starts with the bottom row, as OpenGL expects.
    uint64_t rowBytes = uint64_t(h.width) * 3;
    for (uint64_t r = 0; r < rows; r++) {
        uint64_t dstRow = h.height > 0 ? r : rows - 1 - r;
        DecodeRow(h, palette, colourCount, channels, file + pixelStart + r * stride,
                  block + dstRow * rowBytes);
    }
    free(palette);
    image->width = h.width;
    image->height = int32_t(rows);
    image->data = block;
    *result = image;
    return nullptr;
}

}  // namespace

RGBImage *LoadDIBImage(const char *fileName) {
    // The whole file in one read: nothing later can touch a byte outside this buffer, and a
    // file cut short while it is read only gives fewer bytes. An empty file fails like a
    // missing one.
    unsigned char *bytes = nullptr;
    size_t size = 0;
    struct stat st;
    int fd = open(fileName, O_RDONLY | O_BINARY | O_CLOEXEC);
    if (fd >= 0 && fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
        bytes = (unsigned char *)malloc(size_t(st.st_size));
        if (!bytes) {
            close(fd);
            ShowMessageBox(OUT_OF_MEMORY, "Error", MB_OK);
            return nullptr;
        }
        while (size < size_t(st.st_size)) {
            ssize_t n = read(fd, bytes + size, size_t(st.st_size) - size);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) size = 0;
            if (n <= 0) break;
            size += size_t(n);
        }
    }
    if (fd >= 0) close(fd);
    if (size == 0) {
        free(bytes);
        char text[256];  // a longer name is cut short
        snprintf(text, sizeof text, "Failed to open DIB file %s.\n", fileName);
        ShowMessageBox(text, "Error", MB_OK);
        return nullptr;
    }

    RGBImage *image = nullptr;
    const char *failure = DecodeDIB(bytes, size, &image);
    free(bytes);
    if (failure) ShowMessageBox(failure, "Error", MB_OK);
    return image;
}

}  // namespace kelvorin

// The averaging of frames in linear light (tools/capture/average.h): codes survive the trip
// through light, a block or a run of frames comes out as the mean of its light, and a line
// keeps its light wherever it falls on the pixel grid, as it would not averaged as codes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "capture/average.h"

using kelvorin::LinearAverage;
using kelvorin::LinearToSrgb;
using kelvorin::SrgbToLinear;

namespace {

double Light(int code) { return SrgbToLinear((unsigned char)code) / double(kelvorin::LINEAR_WHITE); }

TEST(Average, EveryCodeComesBackFromItsLight) {
    for (int c = 0; c < 256; c++) EXPECT_EQ(LinearToSrgb(SrgbToLinear((unsigned char)c)), c);
    EXPECT_EQ(SrgbToLinear(0), 0);
    EXPECT_EQ(SrgbToLinear(255), kelvorin::LINEAR_WHITE);
    EXPECT_NEAR(Light(188), 0.5, 0.003);  // sRGB's half light
    EXPECT_EQ(LinearToSrgb(kelvorin::LINEAR_WHITE / 2), 188);
    for (uint32_t v = 1; v <= kelvorin::LINEAR_WHITE; v++) ASSERT_GE(LinearToSrgb(v), LinearToSrgb(v - 1));
}

TEST(Average, OneFrameAtScaleOneIsTheFrame) {
    std::vector<unsigned char> frame(5 * 3 * 4), out(frame.size());
    for (size_t i = 0; i < frame.size(); i++) frame[i] = (unsigned char)(i * 37 + 11);
    LinearAverage average(5, 3, 1, 4);
    average.Add(frame.data());
    average.Finish(out.data());
    for (size_t i = 0; i < frame.size(); i++) EXPECT_EQ(out[i], i % 4 == 3 ? 255 : frame[i]) << i;
}

// A frame drawn at twice the size of 3 x 2 pixels: each block of 2 x 2 its own colour, but for
// the last, half white and half black.
TEST(Average, EachPixelIsTheMeanLightOfItsBlock) {
    const int W = 3, H = 2, S = 2;
    std::vector<unsigned char> drawn(W * S * H * S * 3), out(W * H * 3);
    for (int y = 0; y < H * S; y++)
        for (int x = 0; x < W * S; x++) {
            unsigned char *p = &drawn[(y * W * S + x) * 3];
            int block = (y / S) * W + x / S;
            p[0] = (unsigned char)(10 * block), p[1] = (unsigned char)(100 + block), p[2] = (unsigned char)(250 - block);
            if (block == W * H - 1) p[0] = p[1] = p[2] = x % 2 ? 255 : 0;
        }
    LinearAverage average(W, H, S, 3);
    average.Add(drawn.data());
    average.Finish(out.data());
    for (int block = 0; block < W * H - 1; block++) {
        EXPECT_EQ(out[block * 3], 10 * block);
        EXPECT_EQ(out[block * 3 + 1], 100 + block);
        EXPECT_EQ(out[block * 3 + 2], 250 - block);
    }
    for (int c = 0; c < 3; c++) EXPECT_EQ(out[(W * H - 1) * 3 + c], 188);  // not 128
}

// Motion blur: the mean of the frames added since the last Finish, and only of those.
TEST(Average, FramesAreAveragedUntilFinished) {
    std::vector<unsigned char> black(3, 0), white(3, 255), grey(3, 128), out(3);
    LinearAverage average(1, 1, 1, 3);
    average.Add(white.data());
    average.Add(black.data());
    EXPECT_EQ(average.Count(), 2);
    average.Finish(out.data());
    EXPECT_EQ(out[0], 188);
    EXPECT_EQ(average.Count(), 0);
    for (int i = 0; i < 4; i++) average.Add(grey.data());
    average.Finish(out.data());
    EXPECT_EQ(out[0], 128);
}

// Every count of frames and every scale: each output light is the rounded mean of its block's.
TEST(Average, TheMeanIsRoundedExactly) {
    unsigned seed = 7;
    for (int scale = 1; scale <= 8; scale++)
        for (int frames = 1; frames <= 16; frames += 5) {
            const int W = 3, H = 2;
            std::vector<std::vector<unsigned char>> drawn(frames, std::vector<unsigned char>(W * H * scale * scale * 3));
            for (auto &frame : drawn)
                for (unsigned char &v : frame) v = (unsigned char)((seed = seed * 1103515245 + 12345) >> 16);
            LinearAverage average(W, H, scale, 3);
            for (auto &frame : drawn) average.Add(frame.data());
            std::vector<unsigned char> out(W * H * 3);
            average.Finish(out.data());
            uint32_t n = uint32_t(frames * scale * scale);
            for (int y = 0; y < H; y++)
                for (int x = 0; x < W; x++)
                    for (int c = 0; c < 3; c++) {
                        uint32_t sum = 0;
                        for (auto &frame : drawn)
                            for (int dy = 0; dy < scale; dy++)
                                for (int dx = 0; dx < scale; dx++)
                                    sum += SrgbToLinear(frame[((y * scale + dy) * W * scale + x * scale + dx) * 3 + c]);
                        ASSERT_EQ(out[(y * W + x) * 3 + c], LinearToSrgb((sum + n / 2) / n)) << scale << " " << frames;
                    }
        }
    std::vector<unsigned char> white(8 * 8 * 3, 255), out(3);
    LinearAverage most(1, 1, 8, 3);
    for (int i = 0; i < 16; i++) most.Add(white.data());
    most.Finish(out.data());
    EXPECT_EQ(out[0], 255);
}

// A white line 3 drawn pixels wide on black, drawn 3 times larger, shifted by one drawn pixel at
// a time: averaged in light, the row's light stays that of one white pixel; averaged as codes
// it would lose more than a third of it between two pixels.
TEST(Average, ALineKeepsItsLightOffTheGrid) {
    const int W = 4, S = 3;
    for (int shift = 0; shift < S; shift++) {
        std::vector<unsigned char> drawn(W * S * S * 3, 0), out(W * 3);
        for (int y = 0; y < S; y++)
            for (int x = S + shift; x < 2 * S + shift; x++) drawn[(y * W * S + x) * 3] = 255;
        double codeLight = 0;  // the same row averaged as codes
        for (int x = 0; x < W; x++) {
            int covered = std::max(0, std::min(x * S + S, 2 * S + shift) - std::max(x * S, S + shift));
            codeLight += Light(int(std::lround(255.0 * covered / S)));
        }
        LinearAverage average(W, 1, S, 3);
        average.Add(drawn.data());
        average.Finish(out.data());
        double light = 0;
        for (int x = 0; x < W; x++) light += Light(out[x * 3]);
        EXPECT_NEAR(light, 1.0, 0.01) << "shift " << shift;
        if (shift) {
            EXPECT_LT(codeLight, 0.65) << "shift " << shift;
        }
    }
}

}  // namespace

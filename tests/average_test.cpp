// The averaging of frames in linear light (tools/capture/average.h): codes survive the trip
// through light, blocks and runs of frames come out as the rounded mean of their light, and a
// line keeps its light wherever it falls on the pixel grid, as it would not averaged as codes.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "capture/average.h"

using kelvorin::LinearAverage;
using kelvorin::LinearToSrgb;
using kelvorin::SrgbToLinear;

namespace {

double Light(int code) {
    return SrgbToLinear((unsigned char)code) / double(kelvorin::LINEAR_WHITE);
}

std::vector<unsigned char> Mean(const std::vector<std::vector<unsigned char>> &frames, int width,
                                int height, int scale) {
    LinearAverage average(width, height, scale, 3);
    for (const auto &frame : frames) average.Add(frame.data());
    std::vector<unsigned char> out(size_t(width) * height * 3);
    average.Finish(out.data());
    return out;
}

TEST(Average, CodesSurviveTheirLight) {
    for (int c = 0; c < 256; c++) EXPECT_EQ(LinearToSrgb(SrgbToLinear((unsigned char)c)), c);
    EXPECT_NEAR(Light(188), 0.5, 0.003);                         // sRGB's half light
    EXPECT_EQ(Mean({{255, 0, 0}, {0, 0, 0}}, 1, 1, 1)[0], 188);  // white and black
}

// Random frames at every scale, 1 to 16 of them: each output value is the rounded mean of the
// light of its block in every frame.
TEST(Average, EachPixelIsTheRoundedMeanOfItsBlocks) {
    unsigned seed = 7;
    const int W = 3, H = 2;
    for (int scale = 1; scale <= 8; scale++)
        for (int count = 1; count <= 16; count += 5) {
            std::vector<std::vector<unsigned char>> frames(
                count, std::vector<unsigned char>(W * H * scale * scale * 3));
            for (auto &frame : frames)
                for (unsigned char &v : frame)
                    v = (unsigned char)((seed = seed * 1103515245 + 12345) >> 16);
            frames[0][0] = 255;
            std::vector<unsigned char> out = Mean(frames, W, H, scale);
            uint32_t n = uint32_t(count * scale * scale);
            for (int i = 0; i < W * H * 3; i++) {
                int x = i / 3 % W, y = i / 3 / W, c = i % 3;
                uint32_t sum = 0;
                for (const auto &frame : frames)
                    for (int dy = 0; dy < scale; dy++)
                        for (int dx = 0; dx < scale; dx++)
                            sum += SrgbToLinear(
                                frame[((y * scale + dy) * W * scale + x * scale + dx) * 3 + c]);
                ASSERT_EQ(out[i], LinearToSrgb((sum + n / 2) / n))
                    << scale << "x, " << count << " frames";
            }
        }
    std::vector<unsigned char> white(8 * 8 * 3, 255);
    EXPECT_EQ(Mean(std::vector<std::vector<unsigned char>>(16, white), 1, 1, 8)[0], 255);
}

// A white line 3 drawn pixels wide on black, drawn 3 times larger, one drawn pixel further to
// the right each time: averaged in light, the row keeps the light of one white pixel; averaged
// as codes, it would lose more than a third of it between two pixels.
TEST(Average, ALineKeepsItsLightOffTheGrid) {
    const int W = 4, S = 3;
    for (int shift = 0; shift < S; shift++) {
        std::vector<unsigned char> drawn(W * S * S * 3, 0);
        for (int y = 0; y < S; y++)
            for (int x = S + shift; x < 2 * S + shift; x++) drawn[(y * W * S + x) * 3] = 255;
        std::vector<unsigned char> out = Mean({drawn}, W, 1, S);
        double light = 0, codeLight = 0;
        for (int x = 0; x < W; x++) {
            light += Light(out[x * 3]);
            int covered =
                std::max(0, std::min(x * S + S, 2 * S + shift) - std::max(x * S, S + shift));
            codeLight += Light(255 * covered / S);
        }
        EXPECT_NEAR(light, 1.0, 0.01) << "shift " << shift;
        EXPECT_LT(codeLight, shift ? 0.65 : 1.01) << "shift " << shift;
    }
}

}  // namespace

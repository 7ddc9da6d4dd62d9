// The flash report's measures on frames made to flash and made not to: how often, how much,
// over how large an area, whether together, in which colours, and which seconds they name.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "capture/flash.h"

using kelvorin::FlashAnalysis;
using kelvorin::FlashSecond;

namespace {

const int W = 192, H = 144;  // 4 x 3 pixels a cell of the analysis
struct Colour {
    unsigned char r, g, b;
};
const Colour BLACK{0, 0, 0}, WHITE{255, 255, 255};

struct Frame {
    std::vector<unsigned char> rgb = std::vector<unsigned char>(W * H * 3, 0);
    // Paints a rectangle given in fractions of the frame from its top left corner.
    void Fill(double left, double top, double right, double bottom, Colour c) {
        for (int y = std::max(int(top * H), 0); y < std::min(int(bottom * H), H); y++)
            for (int x = std::max(int(left * W), 0); x < std::min(int(right * W), W); x++) {
                unsigned char *p = &rgb[((H - 1 - y) * W + x) * 3];  // bottom row first
                p[0] = c.r, p[1] = c.g, p[2] = c.b;
            }
    }
};

// Frames on the 60 fps clock up to until ms, each painted by paint(clock, frame) on black.
std::vector<FlashSecond> Analyse(uint32_t until,
                                 const std::function<void(uint32_t, Frame &)> &paint) {
    FlashAnalysis analysis(W, H);
    for (uint64_t k = 0; k * 1000 / 60 <= until; k++) {
        uint32_t clock = uint32_t(k * 1000 / 60);
        Frame frame;
        paint(clock, frame);
        analysis.AddFrame(frame.rgb.data(), clock);
    }
    return analysis.Seconds();
}

// The most transitions of a measure in any second.
int Most(const std::vector<FlashSecond> &seconds, kelvorin::FlashMeasure measure) {
    int most = 0;
    for (const FlashSecond &s : seconds) most = std::max(most, s.transitions[measure]);
    return most;
}

bool AnyFails(const std::vector<FlashSecond> &seconds) {
    for (const FlashSecond &s : seconds)
        if (s.Fails()) return true;
    return false;
}

// Two colours in turn, the first for the first half of every period.
std::function<void(uint32_t, Frame &)> Blink(uint32_t period, Colour on, Colour off,
                                             double left = 0, double top = 0, double right = 1,
                                             double bottom = 1) {
    return [=](uint32_t t, Frame &f) {
        f.Fill(left, top, right, bottom, t % period < period / 2 ? on : off);
    };
}

TEST(FlashTest, WholeFrameBlinkingTenTimesASecondFailsBothMeasures) {
    auto seconds = Analyse(3000, Blink(100, BLACK, WHITE));
    EXPECT_GE(Most(seconds, kelvorin::GENERAL_FLASH), 19);
    EXPECT_GE(Most(seconds, kelvorin::OWN_CHECK), 19);
    EXPECT_EQ(Most(seconds, kelvorin::RED_FLASH), 0) << "black and white hold no red";
    EXPECT_TRUE(seconds[2].Fails());
    EXPECT_EQ(seconds[2].where[kelvorin::GENERAL_FLASH], "centre") << "ties name the middle";
}

TEST(FlashTest, UpToThreeFlashesASecondPassAndFourFail) {
    auto slow = Analyse(4000, Blink(400, BLACK, WHITE));  // 2.5 a second
    EXPECT_EQ(Most(slow, kelvorin::GENERAL_FLASH), 5);
    EXPECT_FALSE(AnyFails(slow));
    auto fast = Analyse(4000, Blink(250, BLACK, WHITE));  // 4 a second
    EXPECT_EQ(Most(fast, kelvorin::GENERAL_FLASH), 8);
    EXPECT_TRUE(AnyFails(fast));
}

TEST(FlashTest, SmallAreasAndBrightFlickerPass) {
    // A twelfth of the frame each way is a sixteenth of a 10-degree field.
    auto small = Analyse(3000, Blink(100, BLACK, WHITE, 0.5, 0.5, 0.5 + 1 / 12.0, 0.5 + 1 / 12.0));
    EXPECT_FALSE(AnyFails(small));
    EXPECT_EQ(Most(small, kelvorin::GENERAL_FLASH), 0);
    EXPECT_EQ(Most(small, kelvorin::OWN_CHECK), 0) << "a change of 1/16 in a third of the frame";
    // Between 0.87 and 1.0 of full light: the darker side is above 0.8.
    auto bright = Analyse(3000, Blink(100, Colour{240, 240, 240}, WHITE));
    EXPECT_FALSE(AnyFails(bright));
}

TEST(FlashTest, AMovingPatternIsNoFlash) {
    // Stripes a twelfth of the frame wide, moving a cell a frame: every cell turns from black to
    // white 7.5 times a second, but as many cells darken as brighten at any time.
    auto seconds = Analyse(3000, [](uint32_t t, Frame &f) {
        int shift = int(t * 60 / 1000) % 8;
        for (int stripe = -1; stripe < 12; stripe += 2)
            f.Fill((stripe + shift / 4.0) / 12, 0, (stripe + 1 + shift / 4.0) / 12, 1, WHITE);
    });
    EXPECT_FALSE(AnyFails(seconds));
}

TEST(FlashTest, AQuarterOfAFieldFailsWhereItIs) {
    auto seconds = Analyse(3000, Blink(100, BLACK, WHITE, 0, 0, 1 / 6.0, 1 / 6.0));
    EXPECT_GE(Most(seconds, kelvorin::GENERAL_FLASH), 19);
    EXPECT_GE(Most(seconds, kelvorin::OWN_CHECK), 19)
        << "a change of a quarter in a third of the frame";
    EXPECT_EQ(seconds[2].where[kelvorin::GENERAL_FLASH], "top-left");
    EXPECT_EQ(seconds[2].where[kelvorin::OWN_CHECK], "top-left");
}

TEST(FlashTest, RedFlashesCountApartFromLuminance) {
    // sRGB 127 grey has about the relative luminance of full red (0.21).
    auto seconds = Analyse(3000, Blink(100, Colour{255, 0, 0}, Colour{127, 127, 127}));
    EXPECT_GE(Most(seconds, kelvorin::RED_FLASH), 19);
    EXPECT_EQ(Most(seconds, kelvorin::GENERAL_FLASH), 0);
    EXPECT_TRUE(seconds[2].Fails());
    auto dim = Analyse(3000, Blink(100, Colour{40, 0, 0}, BLACK));  // near black is no red
    EXPECT_EQ(Most(dim, kelvorin::RED_FLASH), 0);
}

TEST(FlashTest, SlowChangesCountOnceAndSecondsAreNamedWhereTheyEnd) {
    // Black to white over two seconds: many small steps, one transition.
    auto fade = Analyse(3000, [](uint32_t t, Frame &f) {
        unsigned char v = (unsigned char)(std::min<uint32_t>(t, 2000) * 255 / 2000);
        f.Fill(0, 0, 1, 1, Colour{v, v, v});
    });
    EXPECT_EQ(Most(fade, kelvorin::GENERAL_FLASH), 1);
    EXPECT_EQ(Most(fade, kelvorin::OWN_CHECK), 1);
    // Blinking from 1 s to 2 s: the one-second spans that hold it end in seconds 1 and 2.
    auto burst = Analyse(4000, [](uint32_t t, Frame &f) {
        f.Fill(0, 0, 1, 1, t > 1000 && t < 2000 && t % 100 < 50 ? WHITE : BLACK);
    });
    std::vector<long> failing;
    for (const FlashSecond &s : burst)
        if (s.Fails()) failing.push_back(s.second);
    EXPECT_EQ(failing, (std::vector<long>{1, 2}));
}

}  // namespace

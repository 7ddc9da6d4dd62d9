#include <gtest/gtest.h>

#include "timeline/random.h"

using namespace kelvorin;

TEST(Random, FirstValuesOfTheSequence) {
    const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358};
    for (int value : expected) EXPECT_EQ(kelvorin::rand(), value);
}

TEST(Random, ValuesStayWithinFifteenBits) {
    for (int i = 0; i < 100000; i++) {
        int v = kelvorin::rand();
        ASSERT_GE(v, 0);
        ASSERT_LE(v, 32767);
    }
}

// Counts the draws of one fill by replaying the generator from the same state.
static int DrawsOfOneFill() {
    uint32_t start = randState;
    FillRandomPools();
    uint32_t end = randState;
    randState = start;
    int draws = 0;
    while (randState != end) {
        kelvorin::rand();
        draws++;
    }
    return draws;
}

TEST(Random, FirstFillTakes2674Draws) {
    EXPECT_EQ(DrawsOfOneFill(), 2674);
    // The fill leaves the generator where it stood after its last draw.
    FillRandomPools();
    uint32_t afterSecond = randState;
    EXPECT_NE(afterSecond, 1u);
}

TEST(Random, FirstFillStartValues) {
    FillRandomPools();
    EXPECT_FLOAT_EQ(tab0s5[0].x, -0.498748779296875f);
    EXPECT_FLOAT_EQ(tab0s5[0].y, 0.063568115234375f);
    EXPECT_FLOAT_EQ(tab0s5[0].z, 6.0f);
    // The third draw, 6334, is below 8192 and is replaced by the next one.
    EXPECT_EQ(tab1s5[0], (float)(26500 / 3000000.0));
    EXPECT_FLOAT_EQ(tab0s7[0].x, -15.625f);
    EXPECT_FLOAT_EQ(tab0s7[0].y, 20.0f);
    EXPECT_FLOAT_EQ(tab0s7[0].z, 16.29638671875f);
    EXPECT_EQ(tab1s7[0], (float)(16972 / 3276800.0));
}

TEST(Random, PoolsStayInTheirRanges) {
    FillRandomPools();
    for (int i = 0; i < POOL_A; i++) {
        EXPECT_GE(tab0s5[i].x, -0.5f);
        EXPECT_LT(tab0s5[i].x, 0.5f);
        EXPECT_GE(tab1s5[i], (float)(8192 / 3000000.0));
        EXPECT_LE(tab1s5[i], (float)(32767 / 3000000.0));
    }
    for (int i = 0; i < POOL_B; i++) {
        EXPECT_GE(tab0s6[i].z, -50.0f);
        EXPECT_LE(tab0s6[i].z, 6.02f);
        EXPECT_GE(tab1s6[i], (float)(5000 / 3276800.0));
    }
    for (int i = 0; i < POOL_C; i++) {
        EXPECT_GE(tab0s7[i].x, -20.0f);
        EXPECT_LT(tab0s7[i].z, 20.0f);
        EXPECT_EQ(tab0s7[i].y, 20.0f);
        EXPECT_GE(tab1s7[i], (float)(5000 / 3276800.0));
        EXPECT_FALSE(tab2s7[i]);
        EXPECT_EQ(tab3s7[i], 0.0f);
    }
}

TEST(Random, RefillAfterASwitchContinuesTheSequence) {
    FillRandomPools();
    Point first = tab0s7[0];
    float speed = tab1s5[0];
    tab2s7[3] = true;
    tab3s7[3] = 45.0f;
    FillRandomPools();
    EXPECT_FALSE(first.x == tab0s7[0].x && first.z == tab0s7[0].z && speed == tab1s5[0]);
    EXPECT_FALSE(tab2s7[3]);
    EXPECT_EQ(tab3s7[3], 0.0f);
}

// The rules of playing (src/assets/sound.cpp) against a fake sound output that records what it
// is asked to do: what PlaySample hands on and what it refuses, the loop modes, and when the
// output is opened and closed. Every edition's backend relies on these rules and checks nothing
// itself.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "assets/sound.h"

namespace kelvorin {

namespace {

bool outputOpens = true;         // what the fake's OpenSoundOutput answers
std::vector<std::string> asked;  // "open", "play CHANNEL PATH once|looped", "close"

}  // namespace

bool OpenSoundOutput() {
    asked.push_back("open");
    return outputOpens;
}

void PlaySoundFile(int channel, const char *path, bool loop) {
    asked.push_back("play " + std::to_string(channel) + " " + path + (loop ? " looped" : " once"));
}

void CloseSoundOutput() { asked.push_back("close"); }

}  // namespace kelvorin

using namespace kelvorin;

namespace {

using Calls = std::vector<std::string>;

// Each case starts with the output closed and the fake's record empty, a list of the music
// and one sound with its third entry empty, and an output that opens.
class SoundRules : public testing::Test {
  protected:
    void SetUp() override {
        CloseSound();
        asked.clear();
        outputOpens = true;
        std::strcpy(soundNames[0], "Data/music.wav");
        std::strcpy(soundNames[1], "Data/sound.wav");
        soundNames[2][0] = '\0';
    }
};

}  // namespace

TEST_F(SoundRules, AValidSampleIsHandedOnWithItsName) {
    ASSERT_TRUE(InitSound());
    EXPECT_TRUE(soundOpen);
    PlaySample(0, 0, LOOP_OFF);
    PlaySample(2, 1, LOOP_NORMAL);
    EXPECT_EQ(asked, (Calls{"open", "play 0 Data/music.wav once", "play 2 Data/sound.wav looped"}));
}

TEST_F(SoundRules, ChannelsAndEntriesOutsideTheTableAreRefused) {
    ASSERT_TRUE(InitSound());
    for (int bad : {-1, int(SOUND_NAMES), INT_MIN, INT_MAX}) {
        PlaySample(bad, 0, LOOP_OFF);
        PlaySample(0, bad, LOOP_OFF);
    }
    EXPECT_EQ(asked, Calls{"open"});
}

TEST_F(SoundRules, AnEmptyEntryIsRefused) {
    ASSERT_TRUE(InitSound());
    PlaySample(0, 2, LOOP_OFF);
    EXPECT_EQ(asked, Calls{"open"});
}

TEST_F(SoundRules, OnlyLoopModeNormalLoops) {
    ASSERT_TRUE(InitSound());
    PlaySample(0, 0, LOOP_NORMAL);
    PlaySample(0, 0, LOOP_OFF);
    PlaySample(0, 0, 0);
    PlaySample(0, 0, 3);
    EXPECT_EQ(asked, (Calls{"open", "play 0 Data/music.wav looped", "play 0 Data/music.wav once",
                            "play 0 Data/music.wav once", "play 0 Data/music.wav once"}));
}

TEST_F(SoundRules, NothingIsHandedOnWhenTheOutputDoesNotOpen) {
    outputOpens = false;
    EXPECT_FALSE(InitSound());
    EXPECT_FALSE(soundOpen);
    PlaySample(0, 0, LOOP_OFF);
    CloseSound();
    EXPECT_EQ(asked, Calls{"open"});
}

TEST_F(SoundRules, CloseSoundClosesAnOpenOutputOnce) {
    ASSERT_TRUE(InitSound());
    CloseSound();
    EXPECT_FALSE(soundOpen);
    CloseSound();
    PlaySample(0, 0, LOOP_OFF);
    EXPECT_EQ(asked, (Calls{"open", "close"}));
}

// The Linux edition's sound, SDL2_mixer, under the whole program: the demo runs on the
// offscreen backend with this edition's sound going to SDL's dummy driver, in a copy of Data/
// made of links to the build's own files, with the build's own sound list and with lists of
// garbage, of overlong names and naming a directory. Whether the music plays is what SDL_mixer
// says of channel 0 after each frame.
#include <SDL2/SDL_mixer.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "data_copy.h"
#include "injected_platform.h"
#include "platform/keys.h"
#include "shell/frame_loop.h"

using namespace kelvorin;

namespace {

// Runs the demo for 20 frames, then Escape; true when the music was playing in every frame.
bool RunTwentyFrames(bool *anyPlaying) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);  // unless the run chose a driver
    injected::Install();
    static bool playing, silent;
    playing = false, silent = false;
    injected::onSwap = [] { (Mix_Playing(0) ? playing : silent) = true; };
    injected::events = [](int poll, Event *e) {
        if (poll == 21) *e = injected::Key(EV_KEYDOWN, VK_ESCAPE);
        return poll == 21;
    };
    EXPECT_EQ(RunDemo(), 0);
    EXPECT_EQ(injected::swaps, 20);
    EXPECT_EQ(injected::boxes.size(), 1u) << "a box besides the start question";
    *anyPlaying = playing;
    return playing && !silent;
}

}  // namespace

// The control for the cases below: with the build's own list the music plays.
TEST(DamagedSoundList, TheIntactListPlays) {
    DataCopy data;
    bool any;
    EXPECT_TRUE(RunTwentyFrames(&any));
}

TEST(DamagedSoundList, BinaryGarbageGivesASilentDemo) {
    DataCopy data;
    std::string garbage(4096, '\0');
    srand(13);
    for (char &c : garbage) c = char(rand() & 0xFF);
    data.Write("Data/Sons_WAV.txt", garbage);
    bool any;
    RunTwentyFrames(&any);
    EXPECT_FALSE(any);
}

TEST(DamagedSoundList, VeryLongNamesGiveASilentDemo) {
    DataCopy data;
    // The music's own name padded past 39 characters, then names far longer than the table.
    std::string padded = "Data/./././././././././././././kelvorin.wav";
    ASSERT_GT(padded.size(), 39u);
    data.Write("Data/Sons_WAV.txt", padded + "\n" + std::string(100000, 'n') + " " +
                                        std::string(5000, '/') + "Data/kelvorin.wav\n");
    bool any;
    RunTwentyFrames(&any);
    EXPECT_FALSE(any);
}

TEST(DamagedSoundList, NamingADirectoryGivesASilentDemo) {
    DataCopy data;
    data.Write("Data/Sons_WAV.txt", "Data\n");
    bool any;
    RunTwentyFrames(&any);
    EXPECT_FALSE(any);
}

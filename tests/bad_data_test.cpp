// A damaged copy of Data/, as a user might have it: each picture in turn cut short, given a
// 108-byte header, emptied or replaced by a directory, and sound lists of garbage, of overlong
// names and naming a directory. The whole program runs on the offscreen backend, in a copy of
// Data/ made of links to the build's own files.
#include <SDL2/SDL_mixer.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "assets/textures.h"
#include "injected_platform.h"
#include "platform/keys.h"
#include "shell/frame_loop.h"

using namespace kelvorin;
namespace fs = std::filesystem;

namespace {

// A scratch directory holding Data/ with links to every file of the build's Data/; the test
// runs in it and it is removed at the end.
struct DataCopy {
    fs::path root, home;
    DataCopy() {
        char name[] = "/tmp/kelvorin-damaged-XXXXXX";
        root = mkdtemp(name);
        home = fs::current_path();
        fs::create_directory(root / "Data");
        for (const fs::directory_entry &e : fs::directory_iterator(fs::path(KELVORIN_BUILD_DIR) / "Data"))
            fs::create_symlink(e.path(), root / "Data" / e.path().filename());
        fs::current_path(root);
    }
    ~DataCopy() {
        fs::current_path(home);
        fs::remove_all(root);
    }
    // Replaces a link by a file of these bytes.
    void Write(const std::string &file, const std::string &bytes) const {
        fs::remove(root / file);
        std::ofstream(root / file, std::ios::binary) << bytes;
    }
    std::string Original(const std::string &file) const {
        std::ifstream in(fs::path(KELVORIN_BUILD_DIR) / file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

enum Damage { TRUNCATED, HEADER_108, EMPTY, DIRECTORY };
const char *const damageNames[] = {"truncated", "header108", "empty", "directory"};

// Damages the file and returns the loader's message for it.
std::string DamagePicture(const DataCopy &data, const std::string &file, Damage damage) {
    std::string bytes = data.Original(file);
    switch (damage) {
    case TRUNCATED:
        data.Write(file, bytes.substr(0, bytes.size() / 2));
        return "Image file conversion error.";
    case HEADER_108:
        bytes[14] = 108;  // the information header's size, after the 14-byte file header
        data.Write(file, bytes);
        return "Unknown DIB file format.";
    case EMPTY:
        data.Write(file, "");
        break;
    case DIRECTORY:
        fs::remove(data.root / file);
        fs::create_directory(data.root / file);
        break;
    }
    return "Failed to open DIB file " + file + ".\n";
}

class DamagedPicture : public testing::TestWithParam<std::tuple<int, Damage>> {};

}  // namespace

TEST_P(DamagedPicture, ShowsItsMessageThenInitializationFailedAndExitsWithZero) {
    std::string file = textureFiles[std::get<0>(GetParam())];
    DataCopy data;
    std::string message = DamagePicture(data, file, std::get<1>(GetParam()));
    injected::Install();

    EXPECT_EQ(RunDemo(), 0);
    ASSERT_EQ(injected::boxes.size(), 3u);  // the start question, the loader's, the shell's
    EXPECT_EQ(injected::boxes[1].text, message);
    EXPECT_EQ(injected::boxes[1].caption, "Error");
    EXPECT_EQ(injected::boxes[1].style, unsigned(MB_OK));
    EXPECT_EQ(injected::boxes[2].text, "Initialization Failed.");
    EXPECT_EQ(injected::boxes[2].caption, "ERROR");
    EXPECT_EQ(injected::polls, 0) << "the frame loop ran";
}

INSTANTIATE_TEST_SUITE_P(
    EachPicture, DamagedPicture,
    testing::Combine(testing::Range(0, int(NUM_TEXTURES)),
                     testing::Values(TRUNCATED, HEADER_108, EMPTY, DIRECTORY)),
    [](const testing::TestParamInfo<DamagedPicture::ParamType> &info) {
        return fs::path(textureFiles[std::get<0>(info.param)]).stem().string() + "_" +
               damageNames[std::get<1>(info.param)];
    });

namespace {

// Runs the demo for 20 frames, then Escape; true when the music was playing in every frame.
bool RunTwentyFrames(bool *anyPlaying) {
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

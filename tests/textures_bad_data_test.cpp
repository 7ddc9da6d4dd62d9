// A damaged copy of Data/, as a user might have it: each picture in turn cut short, given a
// 108-byte header, emptied or replaced by a directory. The whole program runs on the offscreen
// backend, in a copy of Data/ made of links to the build's own files. The damaged sound lists
// are played through the Linux edition's sound (tests/linux/sound_sdl_test.cpp).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "assets/textures.h"
#include "data_copy.h"
#include "injected_platform.h"
#include "shell/frame_loop.h"

using namespace kelvorin;
namespace fs = std::filesystem;

namespace {

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
    case EMPTY: data.Write(file, ""); break;
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

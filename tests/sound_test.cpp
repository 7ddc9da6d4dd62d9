// The sound list reader, and the offscreen edition's silence.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "assets/sound.h"
#include "injected_platform.h"
#include "platform/keys.h"
#include "shell/frame_loop.h"

using namespace kelvorin;

namespace {

// A temporary directory holding a sound list and the files it may name.
struct ListDir {
    std::string dir;
    ListDir() {
        char name[] = "/tmp/kelvorin-sound-XXXXXX";
        dir = mkdtemp(name);
    }
    ~ListDir() { std::filesystem::remove_all(dir); }
    std::string Write(const std::string &file, const std::string &text) const {
        std::string path = dir + "/" + file;
        FILE *f = std::fopen(path.c_str(), "w");
        std::fputs(text.c_str(), f);
        std::fclose(f);
        return path;
    }
};

}  // namespace

TEST(SoundList, OneNameWithOrWithoutTheFinalLineBreak) {
    ListDir d;
    std::string music = d.Write("a.wav", "x");
    ASSERT_TRUE(ReadSoundList(d.Write("one.txt", music + "\n").c_str()));
    EXPECT_EQ(std::string(soundNames[0]), music);
    EXPECT_EQ(soundNames[1][0], '\0');
    ASSERT_TRUE(ReadSoundList(d.Write("bare.txt", music).c_str()));
    EXPECT_EQ(std::string(soundNames[0]), music);
    EXPECT_EQ(soundNames[1][0], '\0');
}

TEST(SoundList, NamesSeparatedBySpacesAndBlankLines) {
    ListDir d;
    std::string a = d.Write("a", ""), b = d.Write("b", ""), c = d.Write("c", "");
    ASSERT_TRUE(
        ReadSoundList(d.Write("l.txt", "  " + a + " " + b + "\n\n\t" + c + "\n\n").c_str()));
    EXPECT_EQ(std::string(soundNames[0]), a);
    EXPECT_EQ(std::string(soundNames[1]), b);
    EXPECT_EQ(std::string(soundNames[2]), c);
}

TEST(SoundList, EmptyOrMissingListGivesNoEntry) {
    ListDir d;
    EXPECT_FALSE(ReadSoundList((d.dir + "/none.txt").c_str()));
    EXPECT_EQ(soundNames[0][0], '\0');
    EXPECT_FALSE(ReadSoundList(d.Write("blank.txt", " \n\n ").c_str()));
    EXPECT_EQ(soundNames[0][0], '\0');
}

TEST(SoundList, AListedFileThatCannotBeOpenedFailsButKeepsTheNames) {
    ListDir d;
    std::string a = d.Write("a", "");
    EXPECT_FALSE(ReadSoundList(d.Write("l.txt", a + "\n" + d.dir + "/gone\n").c_str()));
    EXPECT_EQ(std::string(soundNames[0]), a);
    EXPECT_EQ(std::string(soundNames[1]), d.dir + "/gone");
}

TEST(SoundList, NamesPastTheThirdAreNotRead) {
    ListDir d;
    std::string a = d.Write("a", ""), b = d.Write("b", ""), c = d.Write("c", "");
    // The fourth name does not exist: it is never read, so it is never checked either.
    ASSERT_TRUE(ReadSoundList(
        d.Write("l.txt", a + "\n" + b + "\n" + c + "\n" + d.dir + "/fourth\n").c_str()));
    EXPECT_EQ(std::string(soundNames[2]), c);
}

TEST(SoundList, AnOverlongNameLeavesItsEntryEmpty) {
    ListDir d;
    std::string fits(39, 'f'), overlong(40, 'o');
    // Relative names, as the demo uses them: read the lists from inside the temp dir.
    ASSERT_EQ(chdir(d.dir.c_str()), 0);
    d.Write(fits, "");
    d.Write(overlong, "");
    d.Write("l1.txt", fits + "\n");
    EXPECT_TRUE(ReadSoundList("l1.txt"));
    EXPECT_EQ(std::string(soundNames[0]), fits);
    d.Write("l2.txt", overlong + "\n" + fits + "\n");
    EXPECT_FALSE(ReadSoundList("l2.txt"));
    EXPECT_EQ(soundNames[0][0], '\0');
    EXPECT_EQ(std::string(soundNames[1]), fits);  // the rest of the list is read on
    EXPECT_EQ(soundNames[2][0], '\0');
}

// The offscreen edition's sound output never opens: with the music listed, the demo plays its
// frames silently to the end, and shows no box about the sound.
TEST(NullSound, TheDemoPlaysSilently) {
    injected::Install();
    static bool everOpen;
    everOpen = false;
    injected::onSwap = [] { everOpen = everOpen || soundOpen; };
    injected::events = [](int poll, Event *e) {
        if (poll == 21) *e = injected::Key(EV_KEYDOWN, VK_ESCAPE);
        return poll == 21;
    };
    EXPECT_EQ(RunDemo(), 0);
    EXPECT_EQ(std::string(soundNames[0]), "Data/kelvorin.wav");
    EXPECT_EQ(injected::swaps, 20);
    EXPECT_EQ(injected::boxes.size(), 1u) << "a box besides the start question";
    EXPECT_FALSE(everOpen);
    EXPECT_FALSE(InitSound());
    EXPECT_FALSE(soundOpen);
}

// The generated music, Data/kelvorin.wav in the build dir: its format, length and levels, its
// clean ending, a kick on every 450 ms beat where the scenes pulse, and a byte-identical result
// from every run of the generator.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr int RATE = 44100;

std::vector<uint8_t> ReadBytes(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>());
}

uint32_t LE(const std::vector<uint8_t> &b, size_t at, int bytes) {
    uint32_t v = 0;
    for (int k = 0; k < bytes; k++) v |= uint32_t(b[at + k]) << (8 * k);
    return v;
}

struct Wav {
    uint32_t riffSize = 0, fmtSize = 0, format = 0, channels = 0, rate = 0, byteRate = 0, align = 0,
             bits = 0;
    size_t fileSize = 0;
    std::vector<int16_t> left, right;
};

// Reads a RIFF/WAVE file chunk by chunk; fails the test on anything truncated or missing.
Wav LoadWav(const std::string &path) {
    Wav w;
    const std::vector<uint8_t> b = ReadBytes(path);
    w.fileSize = b.size();
    if (b.size() < 12 || std::string(b.begin(), b.begin() + 4) != "RIFF" ||
        std::string(b.begin() + 8, b.begin() + 12) != "WAVE") {
        ADD_FAILURE() << path << " is not a RIFF/WAVE file";
        return w;
    }
    w.riffSize = LE(b, 4, 4);
    bool haveFmt = false;
    for (size_t at = 12; at + 8 <= b.size();) {
        const std::string id(b.begin() + at, b.begin() + at + 4);
        const size_t size = LE(b, at + 4, 4), body = at + 8;
        if (size > b.size() - body) {
            ADD_FAILURE() << "chunk " << id << " runs past the end of the file";
            return w;
        }
        if (id == "fmt " && size >= 16) {
            haveFmt = true;
            w.fmtSize = uint32_t(size);
            w.format = LE(b, body, 2);
            w.channels = LE(b, body + 2, 2);
            w.rate = LE(b, body + 4, 4);
            w.byteRate = LE(b, body + 8, 4);
            w.align = LE(b, body + 12, 2);
            w.bits = LE(b, body + 14, 2);
        } else if (id == "data" && haveFmt && w.channels == 2 && w.bits == 16) {
            for (size_t k = body; k + 4 <= body + size; k += 4) {
                w.left.push_back(int16_t(LE(b, k, 2)));
                w.right.push_back(int16_t(LE(b, k + 2, 2)));
            }
        }
        at = body + size + (size & 1);
    }
    if (w.left.empty()) ADD_FAILURE() << path << " holds no 16-bit stereo samples";
    return w;
}

const Wav &Music() {
    static const Wav w = LoadWav("Data/kelvorin.wav");
    return w;
}

double Seconds(const Wav &w) { return double(w.left.size()) / RATE; }

// Mono sum through two one-pole low-passes at 120 Hz: the band where the kick and the bass live.
std::vector<float> LowBand(const Wav &w) {
    std::vector<float> out(w.left.size());
    const double a = 1.0 - std::exp(-2.0 * M_PI * 120.0 / RATE);
    double y1 = 0, y2 = 0;
    for (size_t n = 0; n < out.size(); n++) {
        y1 += a * ((w.left[n] + w.right[n]) / 65536.0 - y1);
        y2 += a * (y1 - y2);
        out[n] = float(y2);
    }
    return out;
}

// Mono sum minus its two-pole low-pass at 4 kHz: the crack of snares, claps and stabs, and the
// hats; the kick stays below it.
std::vector<float> HighBand(const Wav &w) {
    std::vector<float> out(w.left.size());
    const double a = 1.0 - std::exp(-2.0 * M_PI * 4000.0 / RATE);
    double y1 = 0, y2 = 0;
    for (size_t n = 0; n < out.size(); n++) {
        const double x = (w.left[n] + w.right[n]) / 65536.0;
        y1 += a * (x - y1);
        y2 += a * (y1 - y2);
        out[n] = float(x - y2);
    }
    return out;
}

// Energy of a signal between two times in milliseconds.
double Energy(const std::vector<float> &x, double fromMs, double toMs) {
    const size_t n0 = size_t(fromMs * RATE / 1000.0),
                 n1 = std::min(x.size(), size_t(toMs * RATE / 1000.0));
    double e = 0;
    for (size_t n = n0; n < n1; n++) e += double(x[n]) * x[n];
    return e;
}

double RmsDb(const Wav &w, double fromS, double toS) {
    const size_t n0 = size_t(fromS * RATE), n1 = std::min(w.left.size(), size_t(toS * RATE));
    double e = 0;
    for (size_t n = n0; n < n1; n++)
        e += double(w.left[n]) * w.left[n] + double(w.right[n]) * w.right[n];
    return 10.0 * std::log10(e / (2.0 * double(n1 - n0)) / (32768.0 * 32768.0) + 1e-20);
}

TEST(Music, HeaderIsPlainPcm16StereoAt44100) {
    const Wav &w = Music();
    EXPECT_EQ(w.fmtSize, 16u);
    EXPECT_EQ(w.format, 1u);
    EXPECT_EQ(w.channels, 2u);
    EXPECT_EQ(w.rate, 44100u);
    EXPECT_EQ(w.bits, 16u);
    EXPECT_EQ(w.align, 4u);
    EXPECT_EQ(w.byteRate, 44100u * 4);
    EXPECT_EQ(size_t(w.riffSize) + 8, w.fileSize);
    EXPECT_EQ(w.fileSize, 44 + w.left.size() * 4) << "header of 44 bytes, then the samples only";
}

TEST(Music, LastsUntilTheGreetingsHavePassed) {
    EXPECT_GE(Seconds(Music()), 189.0);
    EXPECT_LE(Seconds(Music()), 195.0);
}

// Players and streaming services play at about -14 LUFS; a true peak above -1 dBTP clips once
// the track is encoded to AAC for a video or for the web. Measured by ffmpeg's EBU R128 meter.
TEST(Music, MasteredToMinus14LufsWithTruePeakBelowMinus1Dbtp) {
    std::FILE *p = popen(
        "ffmpeg -nostdin -hide_banner -nostats -i Data/kelvorin.wav -af ebur128=peak=true "
        "-f null - 2>&1",
        "r");
    ASSERT_NE(p, nullptr);
    std::string out;
    char buf[4096];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
    ASSERT_EQ(pclose(p), 0) << out.substr(out.size() > 2000 ? out.size() - 2000 : 0);
    const size_t summary = out.rfind("Summary:");
    ASSERT_NE(summary, std::string::npos) << "no ebur128 summary";
    double integrated = 0, truePeak = 0;
    const size_t at = out.find("I:", summary), peakAt = out.find("Peak:", summary);
    ASSERT_NE(at, std::string::npos);
    ASSERT_NE(peakAt, std::string::npos);
    ASSERT_EQ(std::sscanf(out.c_str() + at, "I: %lf LUFS", &integrated), 1);
    ASSERT_EQ(std::sscanf(out.c_str() + peakAt, "Peak: %lf", &truePeak), 1);
    EXPECT_NEAR(integrated, -14.0, 1.0) << "integrated loudness in LUFS";
    EXPECT_LE(truePeak, -1.0) << "true peak in dBTP";
}

TEST(Music, HasNoDcOffsetAndUsesBothChannels) {
    const Wav &w = Music();
    double sumL = 0, sumR = 0, mid = 0, side = 0;
    for (size_t n = 0; n < w.left.size(); n++) {
        sumL += w.left[n];
        sumR += w.right[n];
        mid += std::pow(double(w.left[n]) + w.right[n], 2);
        side += std::pow(double(w.left[n]) - w.right[n], 2);
    }
    EXPECT_LT(std::fabs(sumL / double(w.left.size())), 16.0);
    EXPECT_LT(std::fabs(sumR / double(w.right.size())), 16.0);
    EXPECT_GT(side / mid, 0.005) << "left and right are nearly the same: no stereo space";
}

TEST(Music, EndsInExactSilence) {
    const Wav &w = Music();
    const size_t last = w.left.size() - 1, from = w.left.size() - RATE / 10;
    for (size_t n = from; n <= last; n++) {
        ASSERT_LE(std::abs(int(w.left[n])), 1) << "sound in the last 100 ms at frame " << n;
        ASSERT_LE(std::abs(int(w.right[n])), 1) << "sound in the last 100 ms at frame " << n;
    }
    EXPECT_EQ(w.left[last], 0);
    EXPECT_EQ(w.right[last], 0);
    // The fade is gradual: the second before the silence is quieter than the seconds before it
    // but not yet silent, so the end is a fade rather than a cut.
    const double end = Seconds(w);
    EXPECT_LT(RmsDb(w, end - 3.0, end - 2.0), RmsDb(w, end - 6.0, end - 5.0));
    EXPECT_GT(RmsDb(w, end - 4.0, end - 3.0), -60.0);
}

TEST(Music, NeverFallsSilentBeforeTheFadeOut) {
    const Wav &w = Music();
    for (double t = 0.0; t + 1.0 <= Seconds(w) - 6.0; t += 0.25)
        EXPECT_GT(RmsDb(w, t, t + 1.0), -45.0) << "a silent second from " << t << " s";
}

// The kick marks every beat of 450 ms from 0 ms: in each section the low band carries clearly
// more energy in the 50 ms after each beat than 200 to 250 ms after it, and nearly every
// beat on its own shows it.
TEST(Music, KickLandsOnEvery450MsBeat) {
    const Wav &w = Music();
    const std::vector<float> low = LowBand(w);
    struct Section {
        const char *name;
        double from, to, ratio;
    };
    const Section sections[] = {
        {"calm intro", 0, 26.5, 5.0}, {"build-up", 26.5, 42.5, 5.0}, {"climax", 42.5, 56.5, 3.0},
        {"tunnel", 57.5, 79.0, 3.0},  {"finale", 80.5, 115.0, 4.0},  {"lift", 115.0, 130.0, 3.0},
        {"outro", 130.0, 185.0, 6.0},
    };
    for (const Section &s : sections) {
        double on = 0, off = 0;
        int beats = 0, marked = 0;
        for (long b = long(std::ceil(s.from * 1000 / 450)); (b + 1) * 450.0 <= s.to * 1000; b++) {
            const double eOn = Energy(low, b * 450.0, b * 450.0 + 50),
                         eOff = Energy(low, b * 450.0 + 200, b * 450.0 + 250);
            on += eOn;
            off += eOff;
            beats++;
            marked += eOn > eOff;
        }
        EXPECT_GT(on, s.ratio * off)
            << s.name << ": on-beat low band only " << on / off << " times the off-beat";
        EXPECT_GE(marked, beats * 9 / 10)
            << s.name << ": only " << marked << " of " << beats << " beats marked";
    }
}

// One hit each second as the countdown digits appear, from 50.5 to 55.5 s: the high band jumps
// at each of them.
TEST(Music, CountdownHitsLandOnEachDigit) {
    const std::vector<float> high = HighBand(Music());
    for (int k = 0; k < 6; k++) {
        const double t = 50500.0 + 1000.0 * k;
        EXPECT_GT(Energy(high, t, t + 60), 3.0 * Energy(high, t - 70, t - 10))
            << "no hit at " << t << " ms";
    }
}

TEST(Music, SectionsFollowTheTimeline) {
    const Wav &w = Music();
    const double intro = RmsDb(w, 1, 26), build = RmsDb(w, 28, 42), tunnel = RmsDb(w, 58, 78.5);
    const double finaleStart = RmsDb(w, 81, 87), finale = RmsDb(w, 89, 114),
                 outroEnd = RmsDb(w, 176, 186);
    EXPECT_LT(intro, build - 4.0) << "the intro under the banner is not calmer than the build-up";
    EXPECT_LT(intro, tunnel - 4.0);
    EXPECT_LT(finaleStart, finale - 3.0) << "the finale does not open calmer before its groove";
    EXPECT_LT(outroEnd, finale - 3.0) << "the outro does not wind down";
}

TEST(Music, SoundListNamesTheMusic) {
    const std::vector<uint8_t> list = ReadBytes("Data/Sons_WAV.txt");
    EXPECT_EQ(std::string(list.begin(), list.end()), "Data/kelvorin.wav\n");
    EXPECT_FALSE(ReadBytes("Data/kelvorin.wav").empty()) << "the listed file is missing";
}

std::string MakeTempDir() {
    char pattern[] = "/tmp/kelvorin-music-XXXXXX";
    const char *dir = mkdtemp(pattern);
    return dir ? dir : "";
}

int RunQuietly(const std::string &command) {
    return std::system((command + " >/dev/null 2>&1").c_str());
}

void RemoveDir(const std::string &dir) {
    for (const char *name : {"/kelvorin.wav", "/Sons_WAV.txt", "/kelvorin.wav.part"})
        std::remove((dir + name).c_str());
    rmdir(dir.c_str());
}

TEST(Music, GeneratorWritesTheSameBytesEveryRun) {
    const std::string gen = KELVORIN_BUILD_DIR "/kelvorin-genmusic", a = MakeTempDir(),
                      b = MakeTempDir();
    ASSERT_FALSE(a.empty());
    ASSERT_FALSE(b.empty());
    ASSERT_EQ(RunQuietly(gen + " " + a), 0);
    ASSERT_EQ(RunQuietly(gen + " " + b), 0);
    const std::vector<uint8_t> first = ReadBytes(a + "/kelvorin.wav"),
                               second = ReadBytes(b + "/kelvorin.wav");
    EXPECT_GT(first.size(), 44u);
    EXPECT_TRUE(first == second) << "two runs wrote different music";
    EXPECT_TRUE(first == ReadBytes("Data/kelvorin.wav"))
        << "the build's copy differs from a fresh run";
    EXPECT_TRUE(ReadBytes(a + "/Sons_WAV.txt") == ReadBytes(b + "/Sons_WAV.txt"));
    RemoveDir(a);
    RemoveDir(b);
}

TEST(Music, GeneratorRejectsAMissingOrUnwritableFolder) {
    const std::string gen = KELVORIN_BUILD_DIR "/kelvorin-genmusic";
    EXPECT_NE(RunQuietly(gen), 0) << "no folder given";
    EXPECT_NE(RunQuietly(gen + " /nonexistent-kelvorin-dir"), 0);
    EXPECT_TRUE(ReadBytes("/nonexistent-kelvorin-dir/kelvorin.wav").empty());
}

}  // namespace

// kelvorin-genmusic OUTDIR: synthesises the demo's music into OUTDIR/kelvorin.wav (16-bit stereo
// PCM, 44100 Hz, the demo's length) and writes the sound list OUTDIR/Sons_WAV.txt that names it.
//
// The track is in A minor at 133 1/3 BPM: one beat every 450 ms, exactly 19845 frames, the first
// at 0 ms, so the kick lands where the scenes pulse (demo clock mod 450 below 50). Its sections
// follow the scene timeline; docs/music.md lists them. Every sound is computed here from
// oscillators, filters and our own seeded noise; nothing reads the clock, so every build writes
// the same bytes.
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "music/mix.h"
#include "music/parts.h"
#include "music/wav.h"

namespace kelvorin::music {

int GenerateMusic(const std::string &outDir) {
    // The track is written under a temporary name and renamed when complete, so an interrupted run
    // never leaves a truncated file that looks up to date. Opening it first fails fast on a bad
    // folder, before the synthesis.
    const std::string wavPath = outDir + "/kelvorin.wav", partPath = wavPath + ".part";
    std::FILE *file = std::fopen(partPath.c_str(), "wb");
    if (file == nullptr) {
        std::fprintf(stderr, "kelvorin-genmusic: cannot create %s: %s\n", partPath.c_str(),
                     std::strerror(errno));
        return 1;
    }
    mixL.assign(TOTAL, 0.0f);
    mixR.assign(TOTAL, 0.0f);
    revSend.assign(TOTAL, 0.0f);
    dlySend.assign(TOTAL, 0.0f);
    kickLevel.assign(NUM_BEATS, 0.0f);
    kickHard.assign(NUM_BEATS, 0);
    duckCurve.resize(BEAT);
    for (long i = 0; i < BEAT; i++)  // dips within 5 ms, recovers over about 110 ms
        duckCurve[i] =
            0.6f * std::min(1.0f, i / 220.0f) * float(std::exp(-double(i) / (0.11 * RATE)));

    FillSineTable();
    Arrange();
    Echo();
    Reverb();
    revSend = std::vector<float>();
    dlySend = std::vector<float>();
    Master();
    if (!WriteWav(file)) {
        std::fprintf(stderr, "kelvorin-genmusic: cannot write %s\n", partPath.c_str());
        std::remove(partPath.c_str());
        return 1;
    }
    if (std::rename(partPath.c_str(), wavPath.c_str()) != 0) {
        std::fprintf(stderr, "kelvorin-genmusic: cannot rename %s to %s: %s\n", partPath.c_str(),
                     wavPath.c_str(), std::strerror(errno));
        std::remove(partPath.c_str());
        return 1;
    }
    return WriteSoundList(outDir + "/Sons_WAV.txt") ? 0 : 1;
}

}  // namespace kelvorin::music

int main(int argc, char **argv) {
    if (argc != 2 || argv[1][0] == '\0') {
        std::fprintf(stderr, "usage: kelvorin-genmusic OUTDIR\n");
        return 2;
    }
    return kelvorin::music::GenerateMusic(argv[1]);
}

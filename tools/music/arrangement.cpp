// The arrangement: the themes as written lines, then the chord track, the kicks and every
// section's parts, following the scene timeline (docs/music.md lists the sections).
#include <string>

#include "music/instruments.h"
#include "music/mix.h"
#include "music/parts.h"

namespace kelvorin::music {

const char *const THEME_A =
    "A4 - - A4 - - E5 - - - D5 - C5 - B4 - | C5 - - - A4 - - - . . F4 - A4 - C5 - | "
    "G5 - - G5 - - E5 - - - D5 - C5 - E5 - | D5 - - - - - B4 - G4 - - - B4 - D5 -";
const char *const THEME_B =
    "E5 - - E5 - - A5 - - - G5 - E5 - C5 - | F5 - - - E5 - - - C5 - - - A4 - C5 - | "
    "E5 - - E5 - - G5 - - - E5 - D5 - C5 - | B4 - - - - - D5 - - - B4 - G4 - B4 -";
const char *const DRIVE =
    "E6 - - - - - - - C6 - - - B5 - A5 - | A5 - - - - - - - C6 - - - - - - - | "
    "G5 - - - - - - - E6 - - - D6 - C6 - | D6 - - - - - - - B5 - - - G5 - - -";
const char *const FINALE_A =
    "F5 - - - E5 - D5 - - - A4 - - - D5 - | C5 - - - - - A4 - C5 - F5 - - - E5 - | "
    "D5 - - - - - B4 - D5 - G5 - - - F5 - | E5 - - - - - - - C5 - - - A4 - - -";
const char *const FINALE_B =
    "A5 - - - G5 - F5 - - - D5 - - - F5 - | A5 - - - G5 - F5 - - - C5 - - - F5 - | "
    "G5 - - - F5 - D5 - - - B4 - D5 - G5 - | A5 - - - - - - - - - - - E5 - C5 -";
const char *const BELLS_LOGO =
    "E5 . G5 . C6 . G5 . B5 . G5 . E5 . G5 . D6 . C6 . G5 . E5 . C6 . . . . . . .";
const char *const BELLS_BALLS =
    "A5 . E5 . C6 . E5 . B5 . E5 . A5 C6 E6 A6 | C7 . . . A6 . . . F6 . . . C6 . . .";

std::string Join(const char *a, const char *b) { return std::string(a) + " | " + b; }

void Arrange() {
    const std::string themeAB = Join(THEME_A, THEME_B), finaleAB = Join(FINALE_A, FINALE_B);

    // Chord track: A minor i-VI-III-VII; the finale's own iv-VI-VII-i, lifted a tone at 115 s.
    Chords(0,
           {{Am, 8}, {F, 8}, {C, 8}, {G, 8}, {Am, 8}, {F, 8}, {C, 8}, {G, 3}});  // intro, 0-26.55 s
    Chords(59, {{Am, 8}, {F, 8}, {C, 8}, {G, 11}});                              // build, cube fan
    Cycle(94, 126, 4, {Am, F, C, G});    // climax, countdown
    Chords(126, {{G, 2}});               // release at the flash
    Cycle(128, 176, 4, {Am, F, C, G});   // tunnel
    Chords(176, {{Am, 3}});              // breakdown
    Cycle(179, 243, 4, {Dm, F, G, Am});  // finale
    Chords(243, {{Dm, 4}, {F, 4}, {G, 5}});
    Cycle(256, 288, 4, {Dm, F, G, Am}, 2);  // the camera flies: B minor
    Chords(288, {{Am, 1}}, 2);
    Cycle(289, 409, 4, {Am, F, C, G});  // outro under the greetings
    Chords(409, {{Am, 9}});

    // Kicks on every beat: soft in the calm parts, hard wherever the drums drive.
    Beats(0, 59, 0.35f, 0.55f, false);
    Beats(59, 126, 0.95f, 0.95f, true);
    Beats(126, 128, 0.5f, 0.5f, false);
    Beats(128, 177, 1.0f, 1.0f, true);
    Beats(179, 195, 0.5f, 0.6f, false);
    Beats(195, 289, 1.0f, 1.0f, true);
    Beats(289, 385, 0.9f, 0.9f, true);
    Beats(385, 418, 0.6f, 0.3f, false);
    for (long b = 0; b < NUM_BEATS; b++)
        if (kickLevel[b] > 0) Kick(b * BEAT, kickLevel[b], kickHard[b]);

    // Calm intro under the banner, with two interludes: the spinning logo and the ball spiral.
    PadPart(0, 59, 0.10f, 700, 1600);
    BassPart(16, 59, "x...", 0.18f, 180, 260, 0.9);
    ArpPart(8, 51, 0.5, {0, 2, 1, 3, 2, 1}, 0, 0.035f, PLUCK, 1400);
    Swell(BeatFrame(14), BeatFrame(16), 0.18f, 3000, 12000, 4);
    Crash(BeatFrame(16), 0.25f);
    Boom(BeatFrame(16), 0.4f);
    Bells(16, BELLS_LOGO, 0, 0.09f);
    Swell(BeatFrame(22.5), BeatFrame(24.5), 0.1f, 2000, 9000, 4);
    Swell(BeatFrame(34), BeatFrame(36), 0.18f, 3000, 12000, 4);
    Crash(BeatFrame(36), 0.22f);
    Bells(36, BELLS_BALLS, 0, 0.09f);
    Boom(BeatFrame(39), 0.45f);  // the balls light up
    Swell(BeatFrame(51), BeatFrame(59), 0.25f, 300, 6000, 2);

    // Build-up under the cube fan; chord stutters while its frames blink.
    Crash(BeatFrame(59), 0.35f);
    PadPart(59, 94, 0.09f, 1200, 3500);
    Hats(59, 94, 0.12f, 0);
    Stutter(59, 63.25, 0.025f);
    Stutter(75, 79, 0.03f);
    Stutter(90, 94, 0.035f);
    BassPart(67, 94, ".xxx", 0.4f, 250, 1400, 1.5);
    ArpPart(67, 90, 0.5, {0, 1, 2, 3}, 0, 0.04f, PLUCK, 2000);
    Backbeat(75, 87, 0.4f, 0);
    Roll(87, 91, 2, 0.2f, 0.35f);
    Roll(91, 93, 4, 0.35f, 0.45f);
    Roll(93, 94, 8, 0.45f, 0.55f);
    Swell(BeatFrame(83), BeatFrame(94), 0.35f, 300, 9000, 2);

    // Climax: the title tumbles, then one hit per second with each countdown digit.
    Crash(BeatFrame(94), 0.5f);
    Boom(BeatFrame(94), 0.4f);
    PadPart(94, 126, 0.1f, 2500, 3500);
    Backbeat(94, 112, 0.35f, 0.4f);  // the countdown hits take over from 50.4 s
    Hats(94, 112, 0.14f, 0.1f);
    Hats(112, 126, 0.1f, 0);
    BassPart(94, 126, ".xxo", 0.45f, 900, 1200, 2.0);
    Melody(94, THEME_A, 0, 0.3f, 2500);
    Melody(110, "A4 - - - - - - -", 0, 0.3f, 2500);
    ArpPart(110, 112, 0.25, {0, 1, 2, 3, 4, 3, 2, 1}, 1, 0.035f, PLUCK, 2500);
    for (int k = 0; k < 6; k++) Hit(50.5 + k, 0.7f + 0.06f * k);
    Swell(SecFrame(53.6), SecFrame(56.5), 0.3f, 400, 10000, 3);

    // Release at the white flash: drums stop, a white-noise swell into the tunnel.
    Hit(56.5, 1.1f);
    Crash(SecFrame(56.5), 0.6f);
    PadPart(126, 128, 0.12f, 3000, 5000);
    Swell(SecFrame(56.6), BeatFrame(128), 0.35f, 1500, 12000, 3);

    // Tunnel: full drive; an arpeggio joins when the light sprites start to rush at 65 s.
    Crash(BeatFrame(128), 0.6f);
    Boom(BeatFrame(128), 0.5f);
    PadPart(128, 176, 0.09f, 2500, 3500);
    Backbeat(128, 172, 0.35f, 0.45f);
    Hats(128, 176, 0.16f, 0.12f);
    BassPart(128, 176, ".xox", 0.48f, 700, 1100, 3.5, 0.5);
    Melody(128, themeAB.c_str(), 0, 0.3f, 3500);
    Melody(160, DRIVE, 0, 0.26f, 4000);
    ArpPart(144, 176, 0.25, {0, 1, 2, 3, 4, 3, 2, 1}, 1, 0.04f, PLUCK, 3500);
    Roll(172, 176, 4, 0.25f, 0.55f);
    Swell(BeatFrame(172), BeatFrame(176), 0.3f, 500, 10000, 2);

    // Breakdown as the tunnel fades: a last hit, the pad closing, a reversed cymbal into the
    // finale.
    Crash(BeatFrame(176), 0.5f);
    Boom(BeatFrame(176), 0.7f);
    PadPart(176, 179, 0.13f, 2500, 500);
    Swell(BeatFrame(177), BeatFrame(179), 0.22f, 3000, 12000, 4);

    // Finale with its own theme: bells while the set zooms in, then the full groove.
    PadPart(179, 256, 0.1f, 900, 3000);
    ArpPart(179, 195, 0.5, {0, 1, 2, 3, 2, 1, 3, 2}, 0, 0.07f, BELL);
    BassPart(179, 195, "x...", 0.2f, 200, 300, 0.9);
    Hats(187, 195, 0.07f, 0);
    Crash(BeatFrame(195), 0.5f);
    Boom(BeatFrame(195), 0.4f);
    Backbeat(195, 248, 0, 0.45f);
    Hats(195, 256, 0.13f, 0.1f);
    BassPart(195, 256, ".xox", 0.45f, 500, 1400, 2.0);
    Melody(195, finaleAB.c_str(), 0, 0.3f, 3000);
    Melody(227, FINALE_A, 0, 0.26f, 3200);
    Melody(227, FINALE_A, 12, 0.11f, 3200);
    ArpPart(195, 243, 0.5, {0, 2, 1, 3}, 0, 0.035f, PLUCK, 2000);
    ArpPart(243, 256, 0.25, {0, 1, 2, 3}, 0, 0.04f, PLUCK, 2500);
    Roll(248, 252, 2, 0.2f, 0.3f);
    Roll(252, 255, 4, 0.3f, 0.45f);
    Roll(255, 256, 8, 0.45f, 0.55f);
    Swell(BeatFrame(244), BeatFrame(256), 0.35f, 300, 10000, 2);

    // The lift when the camera flies: up a tone, the theme doubled an octave higher.
    Crash(BeatFrame(256), 0.7f);
    Boom(BeatFrame(256), 0.6f);
    PadPart(256, 289, 0.1f, 3000, 4500);
    Backbeat(256, 289, 0.3f, 0.45f);
    Hats(256, 289, 0.15f, 0.12f);
    BassPart(256, 289, ".xox", 0.46f, 900, 1600, 2.5, 0.3);
    Melody(256, finaleAB.c_str(), 2, 0.28f, 3500);
    Melody(256, finaleAB.c_str(), 14, 0.12f, 3500);
    ArpPart(256, 288, 0.25, {0, 1, 2, 3, 4, 3, 2, 1}, 1, 0.035f, PLUCK, 3000);
    Swell(BeatFrame(285), BeatFrame(289), 0.25f, 800, 10000, 3);

    // Outro under the greetings: the main theme once more, then bells, then the parts fall away.
    Crash(BeatFrame(289), 0.5f);
    PadPart(289, 418, 0.1f, 2200, 900);
    Backbeat(289, 353, 0, 0.38f);
    Hats(289, 353, 0.12f, 0.09f);
    Hats(353, 385, 0.09f, 0);
    BassPart(289, 385, ".xxx", 0.38f, 700, 300, 1.5);
    Melody(289, themeAB.c_str(), 0, 0.24f, 1800);
    Bells(321, BELLS_LOGO, -12, 0.07f);
    Bells(337, BELLS_LOGO, -12, 0.07f);
    ArpPart(321, 401, 0.5, {0, 2, 1, 3, 2, 1}, 0, 0.035f, PLUCK, 1500);
    ArpPart(385, 409, 1.0, {0, 1, 2, 3}, 1, 0.06f, BELL);
    Bells(409, "A5 . . . E5 . . . C6 . . . B5 . . . A5 . . . . . . . E5 . . . . . . . A4", 0,
          0.07f);
}

}  // namespace kelvorin::music

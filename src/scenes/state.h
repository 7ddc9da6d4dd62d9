// The scenes' animated values: program-lifetime globals, changed only in frames that their own
// scene draws, and the demo's whole state as seeking saves it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "draw/point.h"

namespace kelvorin {

// clang-format off
// Every animated value of the scenes, each written once in this list, X(scene, type, name, start):
// the list declares them here, defines them (state.cpp) and is what seeking saves and restores,
// so a value added to it is saved by construction. The scene is the one whose frames change it.
#define KELVORIN_SCENE_VALUES(X)                                                                   \
    /* Scene 0, name banner. */                                                                    \
    X(0, float, t0s0, 8.0f)   /* x of the banner's centre */                                       \
    X(0, float, a0s0, 0.0f)   /* banner alpha; set back to 0 when scene 1 or 2 takes over */       \
    /* Scene 1, spinning logo. */                                                                  \
    X(1, float, a0s1, 0.0f)   /* logo alpha */                                                     \
    X(1, float, r0s1, 0.0f)   /* logo angle about y, degrees */                                    \
    /* Scene 2, ball spiral; the closing scene also uses v0s2. */                                  \
    X(2, Point, v0s2, {})     /* centre of the ball being drawn; reset to 0 every frame */         \
    X(2, float, l0s2, 0.0f)   /* light fade */                                                     \
    X(2, float, a0s2, 0.0f)   /* picture alpha */                                                  \
    /* Scene 3, cube fan. */                                                                       \
    X(3, float, r0s3, 0.0f)   /* swing phase of the fan, radians */                                \
    X(3, float, r1s3, 0.0f)   /* tumble angle, degrees */                                          \
    X(3, float, a0s3, 0.0f)   /* alpha of the picture bands, both pairs */                         \
    X(3, bool, b0s3, false)   /* first pair has faded in */                                        \
    X(3, bool, b1s3, false)   /* second pair has faded in */                                       \
    X(3, float, a2s3, 0.0f)   /* title alpha; grows only in drawn frames */                        \
    /* Scenes 4 and 45, title tumble, countdown and flash. */                                      \
    X(4, float, s0s4, 0.0f)   /* tumble progress of the title, 0 to 4 */                           \
    X(4, float, a2s4, 0.0f)   /* title fade-out */                                                 \
    X(4, float, n0s4, 0.0f)   /* trail length, copies */                                           \
    X(4, float, a0s4, 0.0f)   /* wire sphere alpha while it blinks in */                           \
    X(4, float, r0s4, 0.0f)   /* wire sphere spin in scene 4, degrees */                           \
    X(45, float, r0s45, 0.0f) /* wire sphere spin in scene 45; takes r0s4 at the hand-over */      \
    X(45, float, a1s45, 0.0f) /* flash brightness */                                               \
    X(45, float, a0s45, 1.0f) /* wire sphere brightness in scene 45 */                             \
    /* Scene 5, cloud tunnel and light sprites. */                                                 \
    X(5, float, t0s5, 0.0f)   /* texture scroll */                                                 \
    X(5, float, r1s5, 0.0f)   /* phase of the tube's bends and bulges */                           \
    X(5, float, a0s5, 0.0f)   /* fade-out, added to the ring brightness step after 79 s */         \
    X(5, float, SIZE1, 0.0f)  /* radius of the circle the tube's centre line swings on */          \
    X(5, float, SIZE2, 0.0f)  /* depth of the bulges of the cross-section */                       \
    X(5, float, f0s5, 0.0f)   /* active sprites, fractional */                                     \
    /* Scene 7, the finale. */                                                                     \
    X(7, float, m0s7, 0.0f)   /* camera travel, to 4 */                                            \
    X(7, float, m1s7, 0.0f)   /* camera approach, to 8 */                                          \
    X(7, float, m2s7, 0.0f)   /* camera climb, once the travel is done */                          \
    X(7, float, r0s7, 0.0f)   /* spin of floor, columns and petals, degrees */                     \
    X(7, float, s0s7, 1e-7f)  /* zoom scale of the whole set during the opening */                 \
    X(7, float, a0s7, 0.0f)   /* space box brightness */                                           \
    X(7, float, n0s7, 0.0f)   /* petal count, fractional */                                        \
    X(7, int, nn0s7, 0)       /* active petals in the last frame: n0s7 truncated, at most 500 */   \
    X(7, float, sizes7, 0.0f) /* half-size of the swirl square */                                  \
    X(7, float, centre0s7, 0.0f) /* swirl centre, x */                                             \
    X(7, float, centre1s7, 0.0f) /* swirl centre, z */                                             \
    /* Scene 8, greetings. */                                                                      \
    X(8, float, rota8, 70.0f) /* scroll position of the text, board columns */                     \
    X(8, float, slide8, 7.0f) /* x of the sphere spiral */                                         \
    X(8, float, fade8, 0.0f)  /* alpha of the picture */                                           \
    X(8, float, hue8, 0.0f)   /* phase of the light colour cycle */                                \
    X(8, float, spin8, 0.0f)  /* spin of the spiral, degrees */
// clang-format on

#define KELVORIN_DECLARE_VALUE(scene, type, name, start) extern type name;
KELVORIN_SCENE_VALUES(KELVORIN_DECLARE_VALUE)
#undef KELVORIN_DECLARE_VALUE

// The list as a table, for saving and for tests: each value's name, place, size and scene.
struct SceneValue {
    const char *name;
    void *at;
    size_t size;
    int32_t scene;
};
extern const SceneValue sceneValues[];
extern const size_t NUM_SCENE_VALUES;

// The whole state that the frames to come depend on, besides the textures: the demo clock, the
// scene id, every value above, the random generator with its pools, and what a frame leaves in
// the GL context for the next one (the current colour, normal and texture coordinates, the
// bound texture, light 0's colours and its eye position). Saved on the synthetic clock, it lets
// any later frame be rebuilt from it (seeking). The buffer keeps its capacity between saves.
using DemoState = std::vector<unsigned char>;
void SaveDemoState(DemoState &into);
// Puts a saved state back; the modelview matrix is left at the identity. False, changing
// nothing, for a buffer of the wrong size.
bool RestoreDemoState(const DemoState &from);

}  // namespace kelvorin

// The scene dispatcher: one scene id says which scene draws the frame.
#pragma once
#include <cstddef>
#include <cstdint>

namespace kelvorin {

extern int32_t numscene;  // 0, 1, 2, 3, 4, 45, 5, 7, 8; written by the scenes' end-of-frame tests

// Every scene: its id, its procedure, its name as the viewer's player and the reports give it,
// whether it begins a chapter of the seek bar where it takes over (the flash is the last
// second of the countdown's chapter), and the textures it binds (TextureBits): a frame of the
// scene draws only once they are in the texture table.
struct Scene {
    int32_t id;
    void (*draw)();
    const char *name;
    bool chapter;
    uint32_t textures;
    // The scene's state stepped on by tempo without drawing, where the frame after it depends on
    // nothing else: the offline run steps through the frames nobody sees with it (null: drawn).
    void (*advance)() = nullptr;
};
extern const Scene scenes[];
extern const size_t NUM_SCENES;
// The scene with that id, or null.
const Scene *FindScene(int32_t id);

// Clears the frame, loads the identity modelview and calls the current scene. Always true.
bool DrawFrame();

// The textures that the current scene binds and the texture table does not hold yet (only the
// browser edition fills it late: textures.h).
uint32_t MissingTextures();

}  // namespace kelvorin

#include "assets/sound.h"
#include "shell/demo.h"
#include "shell/window.h"
#include "timeline/dispatcher.h"

namespace kelvorin {

uint32_t time = 0;
uint32_t previousTime = 0;
double tempo = 0.0;

namespace {

// Draws the current scene while the window is active, then presents the frame unless Escape
// is down: the frame of the pass that ends the demo is drawn but never shown.
void DrawStep(bool &done, bool &escaped) {
    if (windowActive) DrawFrame();
    if (keyState[VK_ESCAPE]) {
        done = true;
        escaped = true;
    } else {
        platform->swapBuffers();
    }
}

}  // namespace

int RunDemo() {
    if (ShowMessageBox("Would You Like To Run In Fullscreen Mode?", "Start FullScreen?",
                       MB_YESNO | MB_ICONQUESTION) == IDNO)
        fullscreenMode = false;
    if (!OpenDemoWindow("KELVORIN", 800, 600, 16, fullscreenMode)) return 0;

    ReadSoundList("Data/Sons_WAV.txt");
    InitSound();
    PlaySample(0, 0, 1);

    // The clock is first read in the first pass, after the textures and the music are loaded.
    bool done = false, escaped = false;
    Event message{EV_OTHER, 0, false, 0, 0, 0};
    while (!done) {
        previousTime = time;
        time = ReadDemoClock();
        tempo = (double)(uint32_t)(time - previousTime);

        Event event;
        if (platform->pollEvent(&event)) {
            message = event;
            if (event.kind == EV_QUIT) {
                done = true;
                continue;
            }
            DemoWindowProc(event);
            DrawStep(done, escaped);
        } else {
            DrawStep(done, escaped);
            // F1 waits for a pass without a message; the old window is torn down while
            // fullscreenMode still holds its mode, so a fullscreen display is restored first.
            if (keyState[VK_F1]) {
                keyState[VK_F1] = 0;
                CloseDemoWindow();
                fullscreenMode = !fullscreenMode;
                if (!OpenDemoWindow("KELVORIN", 1024, 768, 16, fullscreenMode)) {
                    CloseSound();
                    return 0;
                }
            }
        }
    }

    CloseSound();
    CloseDemoWindow();
    // Escape is the viewer's normal way out and reports success, not the key's code.
    return escaped ? 0 : (int)message.wParam;
}

}  // namespace kelvorin

#include "shell/frame_loop.h"

#include "assets/sound.h"
#include "platform/keys.h"
#include "scenes/dispatcher.h"
#include "shell/afterglow.h"
#include "shell/loop.h"
#include "shell/window.h"
#include "timeline/clock.h"

namespace kelvorin {

namespace {

// The frame loop's own state, kept between passes: the browser runs one pass per animation
// frame rather than a loop of its own.
bool done = false;
bool escaped = false;
bool reopenFailed = false;                   // an F1 re-creation failed: the window is already gone
Event message{EV_OTHER, 0, false, 0, 0, 0};  // the last one taken; its wParam is the exit code

// Draws the current scene while the window is active, then presents the frame unless Escape
// is down: the frame of the pass that ends the demo is drawn but never shown.
void DrawStep() {
    if (windowActive) {
        DrawFrame();
        DrawAfterglow();
    }
    if (keyState[VK_ESCAPE]) {
        done = true;
        escaped = true;
    } else {
        platform->swapBuffers();
    }
}

}  // namespace

bool StartDemo() {
    done = escaped = reopenFailed = false;
    message = Event{EV_OTHER, 0, false, 0, 0, 0};
    if (!OpenDemoWindow("KELVORIN", 800, 600, 16, fullscreenMode)) return false;
    KeepDemoStart();

    ReadSoundList("Data/Sons_WAV.txt");
    InitSound();
    PlaySample(0, 0, LOOP_OFF);
    // The clock is first read in the first pass, after the textures and the music are loaded.
    return true;
}

bool DemoPass() { return DemoPassAt(ReadLoopClock()); }

bool DemoPassAt(uint32_t clock) {
    if (done) return false;
    StepClock(clock);

    Event event;
    if (platform->pollEvent(&event)) {
        message = event;
        if (event.kind == EV_QUIT) {
            done = true;
            return false;
        }
        if (event.kind != EV_DISPATCHED) DemoWindowProc(event);
        DrawStep();
    } else {
        DrawStep();
        // F1 waits for a pass without a message; the old window is torn down while
        // fullscreenMode still holds its mode, so a fullscreen display is restored first.
        if (keyState[VK_F1]) {
            keyState[VK_F1] = 0;
            CloseDemoWindow();
            fullscreenMode = !fullscreenMode;
            if (!OpenDemoWindow("KELVORIN", 1024, 768, 16, fullscreenMode)) {
                reopenFailed = done = true;
                return false;
            }
        }
    }
    return !done;
}

int EndDemo() {
    CloseSound();
    // A failed re-creation has already torn the window down and shown why.
    if (reopenFailed) return 0;
    CloseDemoWindow();
    // Escape is the viewer's normal way out and reports success, not the key's code.
    return escaped ? 0 : (int)message.wParam;
}

bool askStartQuestion = true;

int RunDemo() {
    if (askStartQuestion && ShowMessageBox("Would You Like To Run In Fullscreen Mode?",
                                           "Start FullScreen?", MB_YESNO | MB_ICONQUESTION) == IDNO)
        fullscreenMode = false;
    if (!StartDemo()) return 0;
    while (DemoPass()) {}
    return EndDemo();
}

}  // namespace kelvorin

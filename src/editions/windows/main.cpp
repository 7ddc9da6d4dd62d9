// The demo on Windows, a GUI program. Its inputs are the start question, Escape, F1, Data/ and
// the options of shell/command_line.h: --reduced-flashing, --fullscreen or --window, --loop.
#include "platform/platform.h"
#include "shell/command_line.h"
#include "shell/frame_loop.h"

#include <windows.h>
#include <mmsystem.h>

#include <cstdio>
#include <cstdlib>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // A GUI program's standard error reaches no one unless it was redirected: the usage shows
    // in a box too.
    if (!kelvorin::ReadDemoArguments(__argc, __argv)) {
        std::fprintf(stderr, "%s\n", kelvorin::DEMO_USAGE);
        std::fflush(stderr);
        MessageBoxA(nullptr, kelvorin::DEMO_USAGE, "KELVORIN", MB_OK | MB_ICONEXCLAMATION);
        return 2;
    }
    // The demo clock counts whole milliseconds; by default the system timer steps by several.
    timeBeginPeriod(1);
    // The display and the machine stay awake while the demo runs, the power plan's timers
    // included (the window procedure refuses the screen saver as well); Windows lifts this
    // when the program ends.
    SetThreadExecutionState(ES_CONTINUOUS | ES_DISPLAY_REQUIRED | ES_SYSTEM_REQUIRED);
    kelvorin::platform = &kelvorin::windowPlatform;
    int code = kelvorin::RunDemo();
    timeEndPeriod(1);
    return code;
}

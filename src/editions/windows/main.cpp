// The demo on Windows, a GUI program. It reads no command line: its inputs are the start
// question, Escape, F1 and Data/.
#include "platform/platform.h"
#include "shell/frame_loop.h"

#include <windows.h>
#include <mmsystem.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // The demo clock counts whole milliseconds; by default the system timer steps by several.
    timeBeginPeriod(1);
    kelvorin::platform = &kelvorin::windowPlatform;
    int code = kelvorin::RunDemo();
    timeEndPeriod(1);
    return code;
}

// The demo's one window and its rendering context.
#pragma once
#include "shell/platform.h"

namespace kelvorin {

// Opens the window (fullscreen after a display-mode change, or windowed) with a current
// rendering context, sets the view and the render state. False after the reason was shown.
bool OpenDemoWindow(const char *title, int width, int height, int colorBits, bool fullscreen);
// Restores the display mode and releases whatever OpenDemoWindow created.
void CloseDemoWindow();
// The window procedure: turns one event into key state, active flag and viewport.
void DemoWindowProc(const Event &event);

}  // namespace kelvorin

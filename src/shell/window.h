// The demo's one window and its rendering context.
#pragma once
#include "platform/platform.h"

namespace kelvorin {

extern bool fullscreenMode;          // starts true; the start question may clear it, F1 inverts it
extern bool windowActive;            // false while the window is minimised
extern unsigned char keyState[256];  // by Windows virtual-key code (platform/keys.h), 1 while down

// Opens the window (fullscreen after a display-mode change, or windowed) with a current
// rendering context, sets the view and the render state. False after the reason was shown.
bool OpenDemoWindow(const char *title, int width, int height, int colorBits, bool fullscreen);
// Restores the display mode and releases whatever OpenDemoWindow created.
void CloseDemoWindow();
// The window procedure: turns one event into key state, active flag and viewport.
void DemoWindowProc(const Event &event);

}  // namespace kelvorin

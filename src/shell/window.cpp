#include "shell/window.h"

#include "shell/render_state.h"

namespace kelvorin {

bool fullscreenMode = true;
bool windowActive = true;
unsigned char keyState[256];

namespace {

// What OpenDemoWindow has obtained, so that CloseDemoWindow releases exactly that.
bool haveWindow = false;
bool haveDeviceContext = false;
bool haveRenderingContext = false;

PixelFormatRequest pixelFormat;
bool pixelFormatBuilt = false;

bool Fail(const char *text) {
    CloseDemoWindow();
    ShowMessageBox(text, "ERROR", MB_OK | MB_ICONEXCLAMATION);
    return false;
}

void ShutdownBox(const char *text) {
    ShowMessageBox(text, "SHUTDOWN ERROR", MB_OK | MB_ICONINFORMATION);
}

}  // namespace

bool OpenDemoWindow(const char *title, int width, int height, int colorBits, bool fullscreen) {
    fullscreenMode = fullscreen;

    if (!platform->registerClass()) {
        ShowMessageBox("Failed To Register The Window Class.", "ERROR", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }

    if (fullscreenMode && !platform->setDisplayMode(width, height, colorBits)) {
        int answer = ShowMessageBox(
            "The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed Mode "
            "Instead?",
            "Vask GL", MB_YESNO | MB_ICONEXCLAMATION);
        if (answer == IDYES) {
            fullscreenMode = false;
        } else {
            ShowMessageBox("Program Will Now Close.", "ERROR", MB_OK | MB_ICONSTOP);
            return false;
        }
    }

    if (fullscreenMode) platform->showCursor(false);

    // The request is built once, by the first creation; later ones reuse it unchanged. The
    // window backend needs it when it creates the window, since that is where its visual is
    // chosen, so it is ready before the window rather than after.
    if (!pixelFormatBuilt) {
        pixelFormat = PixelFormatRequest{colorBits, 16, 0, 0, 0, 0, true};
        pixelFormatBuilt = true;
    }

    if (!platform->createWindow(title, width, height, fullscreenMode, pixelFormat))
        return Fail("Window Creation Error.");
    haveWindow = true;

    if (!platform->getDeviceContext()) return Fail("Can't Create A GL Device Context.");
    haveDeviceContext = true;
    if (!platform->choosePixelFormat(pixelFormat))
        return Fail("Can't Find A Suitable PixelFormat.");
    if (!platform->setPixelFormat()) return Fail("Can't Set The PixelFormat.");
    if (!platform->createContext()) return Fail("Can't Create A GL Rendering Context.");
    haveRenderingContext = true;
    if (!platform->makeCurrent()) return Fail("Can't Activate The GL Rendering Context.");

    platform->showWindow();
    ResizeView(width, height);
    if (!InitRenderState()) return Fail("Initialization Failed.");
    return true;
}

void CloseDemoWindow() {
    if (fullscreenMode) {
        platform->restoreDisplayMode();
        platform->showCursor(true);
    }
    if (haveRenderingContext) {
        if (!platform->releaseCurrent()) ShutdownBox("Release Of DC And RC Failed.");
        if (!platform->deleteContext()) ShutdownBox("Release Rendering Context Failed.");
        haveRenderingContext = false;
    }
    if (haveDeviceContext) {
        if (!platform->releaseDeviceContext()) ShutdownBox("Release Device Context Failed.");
        haveDeviceContext = false;
    }
    if (haveWindow) {
        if (!platform->destroyWindow()) ShutdownBox("Could Not Release hWnd.");
        haveWindow = false;
    }
    if (!platform->unregisterClass()) ShutdownBox("Could Not Unregister Class.");
}

void DemoWindowProc(const Event &event) {
    switch (event.kind) {
    case EV_ACTIVATE:
        // Losing the focus without minimising keeps the demo drawing.
        windowActive = !event.minimised;
        break;
    case EV_CLOSE:
        // The window is not destroyed here: the loop ends on the quit and tears down.
        platform->postQuit();
        break;
    case EV_KEYDOWN:
        if (event.vk >= 0 && event.vk < 256) keyState[event.vk] = 1;
        break;
    case EV_KEYUP:
        if (event.vk >= 0 && event.vk < 256) keyState[event.vk] = 0;
        break;
    case EV_SIZE: ResizeView(event.width, event.height); break;
    default: break;
    }
}

}  // namespace kelvorin

// The platform interface: windows, rendering contexts, events, message boxes and the clock.
// The shell talks only to this interface. Each edition implements it in its own folder under
// src/editions/ (Linux on SDL2, the offscreen renderer on EGL, Windows on Win32, the browser
// on a canvas), and its main picks the backend once, before anything else. Only the editions
// include SDL, EGL, Windows or Emscripten headers; nothing here includes an edition.
#pragma once
#include <cstdint>

namespace kelvorin {

// Message box styles and results, with the Win32 values the demo was written against.
enum : unsigned {
    MB_OK = 0x00,
    MB_YESNO = 0x04,
    MB_ICONSTOP = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONINFORMATION = 0x40,
};
enum : int { IDFAILED = 0, IDOK = 1, IDYES = 6, IDNO = 7 };

// The pixel-format request: built once at the first window creation, reused unchanged.
struct PixelFormatRequest {
    int colorBits;                                      // of the first window (16)
    int depthBits;                                      // 16
    int alphaBits, stencilBits, accumBits, auxBuffers;  // all 0
    bool doubleBuffer;                                  // true
};

// One event, the stand-in for one window message.
enum EventKind {
    EV_QUIT,        // WM_QUIT: ends the frame loop
    EV_CLOSE,       // WM_CLOSE: the close box; the shell posts a quit
    EV_KEYDOWN,     // WM_KEYDOWN, auto-repeat included; vk holds the Windows virtual-key code
    EV_KEYUP,       // WM_KEYUP
    EV_ACTIVATE,    // WM_ACTIVATE; minimised tells whether the window is now minimised
    EV_SIZE,        // WM_SIZE; width and height are the new client size
    EV_OTHER,       // anything else: changes nothing
    EV_DISPATCHED,  // a message the system has already handed to the window procedure (Win32)
};
struct Event {
    EventKind kind;
    int vk;
    bool minimised;
    int width, height;
    uintptr_t wParam;  // the value Win32 would have put in the message's wParam
};

// Each step returns false on failure; the shell shows the failure text. A backend fills the
// table by name (.registerClass = ..., in this order), most simply with KELVORIN_PLATFORM_TABLE
// below: ten steps have the same type, so a table filled by position would still compile with
// two of them swapped.
struct Platform {
    const char *name;
    bool (*registerClass)();  // bring up the windowing system
    bool (*unregisterClass)();
    bool (*setDisplayMode)(int width, int height, int colorBits);  // fullscreen mode change
    void (*restoreDisplayMode)();
    void (*showCursor)(bool show);
    bool (*createWindow)(const char *title, int width, int height, bool fullscreen,
                         const PixelFormatRequest &request);  // created hidden
    bool (*destroyWindow)();
    bool (*getDeviceContext)();
    bool (*releaseDeviceContext)();
    bool (*choosePixelFormat)(const PixelFormatRequest &request);
    bool (*setPixelFormat)();
    bool (*createContext)();
    bool (*makeCurrent)();
    bool (*releaseCurrent)();
    bool (*deleteContext)();
    void (*showWindow)();
    void (*swapBuffers)();
    // Never waits; false when nothing is queued. Where the system calls the window procedure
    // itself (Win32), the backend has already handed the event to DemoWindowProc and reports
    // it as EV_DISPATCHED, with its wParam, so that the frame loop does not hand it on again.
    bool (*pollEvent)(Event *event);
    void (*postQuit)();
    // Shows a modal box; IDFAILED when it cannot be shown. The caller writes the stderr line.
    int (*messageBox)(const char *text, const char *caption, unsigned style);
    uint32_t (*ticks)();  // wall-clock milliseconds from an arbitrary origin
    // Why the last failed step failed, as the underlying library said it ("" when it said
    // nothing), then forgets it. May be null.
    const char *(*takeError)();
};

// The table of a backend whose steps are named after the fields, capitalised: RegisterClass
// for .registerClass and so on to TakeError. (Win32 already uses many of those names, so the
// Windows edition fills its table by hand.)
// clang-format off
#define KELVORIN_PLATFORM_TABLE(NAME)                 \
    {                                                 \
        .name = NAME,                                 \
        .registerClass = RegisterClass,               \
        .unregisterClass = UnregisterClass,           \
        .setDisplayMode = SetDisplayMode,             \
        .restoreDisplayMode = RestoreDisplayMode,     \
        .showCursor = ShowCursor,                     \
        .createWindow = CreateWindow,                 \
        .destroyWindow = DestroyWindow,               \
        .getDeviceContext = GetDeviceContext,         \
        .releaseDeviceContext = ReleaseDeviceContext, \
        .choosePixelFormat = ChoosePixelFormat,       \
        .setPixelFormat = SetPixelFormat,             \
        .createContext = CreateContext,               \
        .makeCurrent = MakeCurrent,                   \
        .releaseCurrent = ReleaseCurrent,             \
        .deleteContext = DeleteContext,               \
        .showWindow = ShowWindow,                     \
        .swapBuffers = SwapBuffers,                   \
        .pollEvent = PollEvent,                       \
        .postQuit = PostQuit,                         \
        .messageBox = MessageBox,                     \
        .ticks = Ticks,                               \
        .takeError = TakeError,                       \
    }
// clang-format on

extern const Platform windowPlatform;     // SDL2 on Linux, Win32 on Windows
extern const Platform offscreenPlatform;  // EGL pbuffer, no display
extern const Platform webPlatform;        // a canvas with WebGL 2, in the browser
extern const Platform *platform;          // the backend in use

// Shows a box through the current backend and writes "CAPTION: text" as one line to standard
// error, line breaks in the text turned into spaces, with " (reason)" added when the backend
// has a reason for the failure before it. A box that cannot be shown adds the line
// "CAPTION: box not shown (reason)". Returns IDOK, IDYES, IDNO or IDFAILED.
int ShowMessageBox(const char *text, const char *caption, unsigned style);

}  // namespace kelvorin

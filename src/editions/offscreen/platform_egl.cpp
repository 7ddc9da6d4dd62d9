// The offscreen backend: an EGL pbuffer with an OpenGL context, no display needed. Mesa's
// surfaceless platform is tried first, then an EGL device, then the default display. Built
// with KELVORIN_GLES, the context is OpenGL ES 3 and carries our GL 1.1 layer (src/gles),
// set up when the context becomes current and taken down before it is released.
//
// How the window steps map here: registering the class initialises the EGL display; there is
// no display mode to change and no window, only the size to remember; choosing the pixel
// format is eglChooseConfig, setting it creates the pbuffer, and releasing the device context
// destroys it; the display itself lives until the process ends. There are no events and no boxes
// (the box's line on standard error remains).
#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>

#include <ctime>

#include "platform/platform.h"

#ifdef KELVORIN_GLES
#include "gles/gles.h"
#endif

namespace kelvorin {

namespace {

EGLDisplay display = EGL_NO_DISPLAY;
EGLConfig config = nullptr;
EGLSurface surface = EGL_NO_SURFACE;
EGLContext context = EGL_NO_CONTEXT;
int surfaceWidth = 0, surfaceHeight = 0;

#ifdef KELVORIN_GLES
const EGLenum API = EGL_OPENGL_ES_API;
const EGLint RENDERABLE = EGL_OPENGL_ES3_BIT;
const EGLint CONTEXT_ATTRIBUTES[] = {EGL_CONTEXT_MAJOR_VERSION, 3, EGL_NONE};
bool layerUp = false;
#else
const EGLenum API = EGL_OPENGL_API;
const EGLint RENDERABLE = EGL_OPENGL_BIT;
const EGLint *const CONTEXT_ATTRIBUTES = nullptr;
#endif

EGLDisplay OpenDisplay() {
    auto getPlatformDisplay =
        (PFNEGLGETPLATFORMDISPLAYEXTPROC)eglGetProcAddress("eglGetPlatformDisplayEXT");
    if (getPlatformDisplay) {
        EGLDisplay d =
            getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        if (d != EGL_NO_DISPLAY && eglInitialize(d, nullptr, nullptr)) return d;
        auto queryDevices = (PFNEGLQUERYDEVICESEXTPROC)eglGetProcAddress("eglQueryDevicesEXT");
        EGLDeviceEXT device;
        EGLint count = 0;
        if (queryDevices && queryDevices(1, &device, &count) && count > 0) {
            d = getPlatformDisplay(EGL_PLATFORM_DEVICE_EXT, device, nullptr);
            if (d != EGL_NO_DISPLAY && eglInitialize(d, nullptr, nullptr)) return d;
        }
    }
    EGLDisplay d = eglGetDisplay(EGL_DEFAULT_DISPLAY);
    if (d != EGL_NO_DISPLAY && eglInitialize(d, nullptr, nullptr)) return d;
    return EGL_NO_DISPLAY;
}

bool RegisterClass() {
    if (display == EGL_NO_DISPLAY) display = OpenDisplay();
    return display != EGL_NO_DISPLAY;
}

// The display stays initialised for the rest of the process: a re-creation reuses it, and
// terminating it would unload the driver in mid-run.
bool UnregisterClass() { return true; }

bool SetDisplayMode(int, int, int) { return true; }
void RestoreDisplayMode() {}
void ShowCursor(bool) {}

bool CreateWindow(const char *, int width, int height, bool, const PixelFormatRequest &) {
    surfaceWidth = width;
    surfaceHeight = height;
    return width > 0 && height > 0;
}

bool DestroyWindow() { return true; }
bool GetDeviceContext() { return display != EGL_NO_DISPLAY; }

bool ReleaseDeviceContext() {
    if (surface == EGL_NO_SURFACE) return true;
    bool ok = eglDestroySurface(display, surface);
    surface = EGL_NO_SURFACE;
    return ok;
}

// At least the requested colour and depth, no alpha or stencil where such a config exists;
// among those, 8 bits per channel so that frames come out as the viewer would see them.
bool ChoosePixelFormat(const PixelFormatRequest &request) {
    int channel = request.colorBits >= 24 ? 8 : 5;
    const EGLint attributes[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE,
                                 RENDERABLE,       EGL_RED_SIZE,    channel,
                                 EGL_GREEN_SIZE,   channel,         EGL_BLUE_SIZE,
                                 channel,          EGL_DEPTH_SIZE,  request.depthBits,
                                 EGL_NONE};
    EGLConfig configs[64];
    EGLint count = 0;
    if (!eglChooseConfig(display, attributes, configs, 64, &count) || count == 0) return false;
    int best = -1, bestScore = 1 << 30;
    for (int i = 0; i < count; i++) {
        EGLint r, g, b, a, s;
        eglGetConfigAttrib(display, configs[i], EGL_RED_SIZE, &r);
        eglGetConfigAttrib(display, configs[i], EGL_GREEN_SIZE, &g);
        eglGetConfigAttrib(display, configs[i], EGL_BLUE_SIZE, &b);
        eglGetConfigAttrib(display, configs[i], EGL_ALPHA_SIZE, &a);
        eglGetConfigAttrib(display, configs[i], EGL_STENCIL_SIZE, &s);
        int score = (r != 8) + (g != 8) + (b != 8) + 4 * (a != request.alphaBits) +
                    4 * (s != request.stencilBits);
        if (score < bestScore) best = i, bestScore = score;
    }
    config = configs[best];
    return true;
}

bool SetPixelFormat() {
    const EGLint attributes[] = {EGL_WIDTH, surfaceWidth, EGL_HEIGHT, surfaceHeight, EGL_NONE};
    surface = eglCreatePbufferSurface(display, config, attributes);
    return surface != EGL_NO_SURFACE;
}

bool CreateContext() {
    if (!eglBindAPI(API)) return false;
    context = eglCreateContext(display, config, EGL_NO_CONTEXT, CONTEXT_ATTRIBUTES);
    return context != EGL_NO_CONTEXT;
}

bool MakeCurrent() {
    if (!eglMakeCurrent(display, surface, surface, context)) return false;
#ifdef KELVORIN_GLES
    if (!layerUp) layerUp = GlesCreate();
    return layerUp;
#else
    return true;
#endif
}

bool ReleaseCurrent() {
#ifdef KELVORIN_GLES
    if (layerUp) GlesDestroy();
    layerUp = false;
#endif
    return eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
}

bool DeleteContext() {
    bool ok = eglDestroyContext(display, context);
    context = EGL_NO_CONTEXT;
    return ok;
}

void ShowWindow() {}
// A pbuffer shows nothing, but presenting still ends the frame: without a flush the driver
// would queue every frame's commands until the next read-back.
void SwapBuffers() { glFlush(); }
bool PollEvent(Event *) { return false; }
void PostQuit() {}
int MessageBox(const char *, const char *, unsigned) { return IDFAILED; }

uint32_t Ticks() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (uint32_t)(now.tv_sec * 1000u + now.tv_nsec / 1000000);
}

const char *TakeError() { return ""; }  // EGL gives codes, not texts: no reasons here

}  // namespace

const Platform offscreenPlatform = KELVORIN_PLATFORM_TABLE("offscreen");

}  // namespace kelvorin

// The browser backend: a canvas with a WebGL 2 context and our GL layer on it, the page's key
// and size events, boxes shown as messages on the page, and the clock from performance.now().
// The page (page/) owns the layout, the start question and the Fullscreen API; this file
// reaches it through Module.page.
//
// How the window steps map here: there is no window class to register, only the event
// listeners to add; the display mode is the page's to switch, since a browser grants fullscreen
// only inside the viewer's own click or key press (F1 included, which therefore re-creates
// nothing here); creating the window asks the page for a new canvas, so that every rendering
// context starts as fresh as a new window's does on the desktop;
// the device context and pixel format are that canvas and its attributes; the rendering context
// is a WebGL 2 context, with GlesCreate run once it is current and GlesDestroy before it goes.
// Presenting is the browser's: what was drawn in an animation frame is shown when it returns.
#include "editions/web/platform_web.h"

#include <GL/gl.h>
#include <emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <string>

#include "editions/web/keys_web.h"
#include "gles/gles.h"
#include "platform/keys.h"
#include "platform/platform.h"

namespace kelvorin {

namespace {

const char *const CANVAS = "#canvas";
// Drawing at more than twice the CSS pixels, or wider than MAX_WIDTH, costs much fill for
// little to see.
const double MAX_PIXEL_RATIO = 2.0;
const double MAX_WIDTH = 2560.0;

bool fixedCanvas = false;
bool listening = false;
bool contextWanted = false;  // the pixel format was set: a context may be created
EmscriptenWebGLContextAttributes attributes;
EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = 0;
bool layerUp = false;  // GlesCreate succeeded on the current context
std::deque<Event> events;
bool keyDown[256];  // keys whose press reached the demo, so that repeats count
std::string failure;

EM_JS(void, PageNewCanvas, (), { Module['page'].newCanvas(); });
EM_JS(void, PageDropCanvas, (), { Module['page'].dropCanvas(); });
EM_JS(void, PageMessage, (const char *caption, const char *text, int serious),
      { Module['page'].message(UTF8ToString(caption), UTF8ToString(text), !!serious); });

// The canvas's size on the page in device pixels, capped.
void LayoutSize(int *width, int *height) {
    double cssWidth = 0, cssHeight = 0;
    emscripten_get_element_css_size(CANVAS, &cssWidth, &cssHeight);
    double ratio = std::min(emscripten_get_device_pixel_ratio(), MAX_PIXEL_RATIO);
    if (cssWidth * ratio > MAX_WIDTH) ratio = MAX_WIDTH / cssWidth;
    *width = std::max(1, (int)std::lround(cssWidth * ratio));
    *height = std::max(1, (int)std::lround(cssHeight * ratio));
}

// A window being dragged to a new size sends a burst of these; only the latest counts.
void QueueLayoutSize() {
    Event event{EV_SIZE, 0, false, 0, 0, 0};
    LayoutSize(&event.width, &event.height);
    event.wParam = (uintptr_t)((event.height & 0xFFFF) << 16 | (event.width & 0xFFFF));
    if (!events.empty() && events.back().kind == EV_SIZE) events.back() = event;
    else events.push_back(event);
}

EM_BOOL OnResize(int, const EmscriptenUiEvent *, void *) {
    QueueLayoutSize();
    return EM_FALSE;
}

EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent *e, void *) {
    int vk = VirtualKeyFromDOM(e->key, e->code, e->location);
    bool down = type == EMSCRIPTEN_EVENT_KEYDOWN;
    // A key held since before the demo started (the Escape that answered the start question)
    // repeats into the demo without having been pressed in it: such repeats are not its keys.
    bool stray = down && e->repeat && !keyDown[vk & 0xFF];
    // Keys pressed with Alt, and F10, are system keys: they do not touch the key state. So is
    // F1 here: the page switches fullscreen itself, inside the key's own handler as browsers
    // require, and the canvas simply takes its new size; there is no window to re-create.
    bool system = e->altKey || vk == VK_F10 || vk == VK_MENU || vk == VK_F1;
    if (vk != 0 && !stray) {
        keyDown[vk] = down;
        Event event{
            system ? EV_OTHER : down ? EV_KEYDOWN : EV_KEYUP, vk, false, 0, 0, (uintptr_t)vk};
        events.push_back(event);
    }
    // The browser's own meaning of F1 is its help page.
    return vk == VK_F1;
}

bool RegisterClass() {
    if (fixedCanvas || listening) return true;
    const char *window = EMSCRIPTEN_EVENT_TARGET_WINDOW;
    if (emscripten_set_keydown_callback(window, nullptr, EM_TRUE, OnKey) !=
            EMSCRIPTEN_RESULT_SUCCESS ||
        emscripten_set_keyup_callback(window, nullptr, EM_TRUE, OnKey) !=
            EMSCRIPTEN_RESULT_SUCCESS ||
        emscripten_set_resize_callback(window, nullptr, EM_FALSE, OnResize) !=
            EMSCRIPTEN_RESULT_SUCCESS) {
        failure = "the page's key and size events could not be followed";
        return false;
    }
    listening = true;
    return true;
}

bool UnregisterClass() {
    if (!listening) return true;
    const char *window = EMSCRIPTEN_EVENT_TARGET_WINDOW;
    emscripten_set_keydown_callback(window, nullptr, EM_TRUE, nullptr);
    emscripten_set_keyup_callback(window, nullptr, EM_TRUE, nullptr);
    emscripten_set_resize_callback(window, nullptr, EM_FALSE, nullptr);
    listening = false;
    return true;
}

// The page has already switched (or tried to switch) to fullscreen in the viewer's click or
// key press; the canvas follows whatever size that gave. The page also hides the pointer over
// the picture while it is fullscreen.
bool SetDisplayMode(int, int, int) { return true; }
void RestoreDisplayMode() {}
void ShowCursor(bool) {}

bool CreateWindow(const char *, int width, int height, bool, const PixelFormatRequest &) {
    PageNewCanvas();
    // The view is first set for the requested size; when the canvas follows the page, the
    // first pass takes a size event with the canvas's real size before it draws.
    emscripten_set_canvas_element_size(CANVAS, width, height);
    if (!fixedCanvas) QueueLayoutSize();
    return true;
}

bool DestroyWindow() {
    PageDropCanvas();
    return true;
}

bool GetDeviceContext() {
    double width, height;
    if (emscripten_get_element_css_size(CANVAS, &width, &height) == EMSCRIPTEN_RESULT_SUCCESS)
        return true;
    failure = "the page has no canvas";
    return false;
}

bool ReleaseDeviceContext() { return true; }

// The page's canvas is opaque, like a window: no alpha. No multisampling either, since the
// desktop's pixel format has none and the frames should match it.
bool ChoosePixelFormat(const PixelFormatRequest &request) {
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.majorVersion = 2;
    attributes.minorVersion = 0;
    attributes.alpha = request.alphaBits > 0;
    attributes.depth = request.depthBits > 0;
    attributes.stencil = request.stencilBits > 0;
    attributes.antialias = EM_FALSE;
    attributes.premultipliedAlpha = EM_TRUE;
    attributes.preserveDrawingBuffer = fixedCanvas;
    attributes.failIfMajorPerformanceCaveat = EM_FALSE;
    return true;
}

bool SetPixelFormat() {
    contextWanted = true;
    return true;
}

bool CreateContext() {
    context = contextWanted ? emscripten_webgl_create_context(CANVAS, &attributes) : 0;
    if (context > 0) return true;
    context = 0;
    failure = "this browser offers no WebGL 2, or has turned it off";
    return false;
}

bool MakeCurrent() {
    if (emscripten_webgl_make_context_current(context) != EMSCRIPTEN_RESULT_SUCCESS) {
        failure = "the WebGL 2 context could not be made current";
        return false;
    }
    if (!layerUp) layerUp = GlesCreate();
    if (!layerUp) failure = "the GL layer could not be set up on WebGL 2";
    return layerUp;
}

bool ReleaseCurrent() {
    if (layerUp) GlesDestroy();
    layerUp = false;
    return emscripten_webgl_make_context_current(0) == EMSCRIPTEN_RESULT_SUCCESS;
}

bool DeleteContext() {
    if (!context) return false;
    if (layerUp) {
        // Released without the context being current first: the layer still owns it.
        emscripten_webgl_make_context_current(context);
        GlesDestroy();
        layerUp = false;
    }
    bool ok = emscripten_webgl_destroy_context(context) == EMSCRIPTEN_RESULT_SUCCESS;
    context = 0;
    contextWanted = false;
    return ok;
}

void ShowWindow() {}
// The layer queues a frame's drawing until a flush; the browser shows the frame when the
// animation frame returns.
void SwapBuffers() { glFlush(); }

bool PollEvent(Event *event) {
    if (events.empty()) return false;
    *event = events.front();
    events.pop_front();
    // The drawing buffer takes the new size in the pass that sets the view for it.
    if (event->kind == EV_SIZE)
        emscripten_set_canvas_element_size(CANVAS, event->width, event->height);
    return true;
}

// Nothing closes the page's demo but Escape; a quit still ends the loop as on the desktop.
void PostQuit() { events.push_back(Event{EV_QUIT, 0, false, 0, 0, 0}); }

// The page shows the box as a message and the demo goes on to its next step, as after a box
// the viewer has closed. A question cannot wait for its answer in the middle of a pass: it
// counts as a box that could not be shown.
int MessageBox(const char *text, const char *caption, unsigned style) {
    bool serious = (style & 0xF0) == MB_ICONSTOP || (style & 0xF0) == MB_ICONEXCLAMATION;
    PageMessage(caption, text, serious);
    if ((style & 0x0F) == MB_YESNO) {
        failure = "the page asks no questions in the middle of the demo";
        return IDFAILED;
    }
    return IDOK;
}

uint32_t Ticks() { return (uint32_t)(uint64_t)emscripten_get_now(); }

const char *TakeError() {
    static std::string reason;
    reason = failure;
    failure.clear();
    return reason.c_str();
}

}  // namespace

void UseFixedCanvas(bool fixed) { fixedCanvas = fixed; }

const Platform webPlatform = KELVORIN_PLATFORM_TABLE("web");

}  // namespace kelvorin

// The window backend: an SDL2 window with an OpenGL context, SDL events, SDL message boxes.
//
// How the Win32 steps map here: registering the window class brings up SDL's video subsystem
// the first time (it then stays up until the process ends: shutting it down would unload the
// GL driver at every F1 switch, and the driver does not give back all it allocated); the
// fullscreen mode change looks for a display mode of exactly the requested size and applies
// it to the window when it is created; creating the window also chooses its visual from the
// pixel-format request, since that is where X11 and SDL choose it, so the pixel-format steps
// only confirm it; the device context is the native window that SDL reports; the rendering
// context is an SDL GL context.
//
// SDL keeps the reason for its last failure, and some calls leave one behind even when they
// succeed. Every opening step clears it when it succeeds, so that what is left when a box is
// shown is the reason why the step before failed; teardown steps leave it alone, since a failed
// opening tears down before its box is shown.
#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>

#include <string>

#include "editions/linux/keys_sdl.h"
#include "platform/platform.h"

namespace kelvorin {

namespace {

SDL_Window *window = nullptr;
SDL_GLContext context = nullptr;
SDL_DisplayMode fullscreenDisplayMode;

// Passes a step's result on, forgetting SDL's reason when the step succeeded.
bool Ok(bool success) {
    if (success) SDL_ClearError();
    return success;
}

bool RegisterClass() {
    // The close box only asks; the shell posts the quit itself.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    if (SDL_WasInit(SDL_INIT_VIDEO)) return Ok(true);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    // When no display can be opened SDL falls back to drivers that have no native windows;
    // their windows would fail later, at the device context, for a reason that hides this one.
    std::string driver = SDL_GetCurrentVideoDriver();
    if (driver == "offscreen" || driver == "dummy" || driver == "evdev") {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        SDL_SetError("no display could be opened; SDL offers only its %s video driver",
                     driver.c_str());
        return false;
    }
    SDL_DisableScreenSaver();
    SDL_StopTextInput();
    return Ok(true);
}

// Video stays up between windows, so that an F1 switch does not unload the GL driver.
bool UnregisterClass() { return true; }

// A display with no mode of exactly this size refuses; a size offered only at 24 or 32 bits
// is accepted.
bool SetDisplayMode(int width, int height, int colorBits) {
    int count = SDL_GetNumDisplayModes(0);
    bool found = false;
    for (int i = 0; i < count; i++) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, i, &mode) != 0 || mode.w != width || mode.h != height) continue;
        if (!found || (int)SDL_BITSPERPIXEL(mode.format) == colorBits) fullscreenDisplayMode = mode;
        found = true;
    }
    // A refusal is this backend's own decision, not a failure of SDL's.
    SDL_ClearError();
    return found;
}

void RestoreDisplayMode() {
    if (window) SDL_SetWindowFullscreen(window, 0);
}

void ShowCursor(bool show) { SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE); }

bool DestroyWindow() {
    if (!window) return false;
    SDL_DestroyWindow(window);
    window = nullptr;
    return true;
}

bool CreateWindow(const char *title, int width, int height, bool fullscreen,
                  const PixelFormatRequest &request) {
    int channel = request.colorBits >= 24 ? 8 : 5;
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, channel);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, channel);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, channel);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, request.alphaBits);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, request.depthBits);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, request.stencilBits);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_RED_SIZE, request.accumBits);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_GREEN_SIZE, request.accumBits);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_BLUE_SIZE, request.accumBits);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_ALPHA_SIZE, request.accumBits);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, request.doubleBuffer ? 1 : 0);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);

    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
    flags |= fullscreen ? SDL_WINDOW_FULLSCREEN : SDL_WINDOW_RESIZABLE;
    // SDL places the client area, so the client area is at the screen's top-left.
    window = SDL_CreateWindow(title, 0, 0, width, height, flags);
    if (!window) return false;
    if (fullscreen && SDL_SetWindowDisplayMode(window, &fullscreenDisplayMode) != 0) {
        DestroyWindow();
        return false;
    }
    return Ok(true);
}

bool GetDeviceContext() {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    return Ok(window && SDL_GetWindowWMInfo(window, &info) == SDL_TRUE);
}

bool ReleaseDeviceContext() { return true; }

bool ChoosePixelFormat(const PixelFormatRequest &) {
    return Ok(window && (SDL_GetWindowFlags(window) & SDL_WINDOW_OPENGL));
}

bool SetPixelFormat() { return Ok(window != nullptr); }

bool CreateContext() {
    context = SDL_GL_CreateContext(window);
    return Ok(context != nullptr);
}

// Every new context presents in step with the display: adaptive sync (a late frame is shown
// at once rather than a whole refresh later) where the driver offers it, plain sync otherwise.
// Without it a real GPU would tear and draw thousands of frames a second. A driver that
// offers neither simply runs unsynchronised.
bool MakeCurrent() {
    if (SDL_GL_MakeCurrent(window, context) != 0) return false;
    if (SDL_GL_SetSwapInterval(-1) != 0) SDL_GL_SetSwapInterval(1);
    return Ok(true);
}

bool ReleaseCurrent() { return SDL_GL_MakeCurrent(window, nullptr) == 0; }

bool DeleteContext() {
    if (!context) return false;
    SDL_GL_DeleteContext(context);
    context = nullptr;
    return true;
}

void ShowWindow() {
    SDL_ShowWindow(window);
    SDL_RaiseWindow(window);  // foreground and focus
}

void SwapBuffers() {
    if (window) SDL_GL_SwapWindow(window);
}

bool PollEvent(Event *event) {
    SDL_Event e;
    if (!SDL_PollEvent(&e)) return false;
    *event = Event{EV_OTHER, 0, false, 0, 0, 0};
    switch (e.type) {
    case SDL_QUIT: event->kind = EV_QUIT; break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        // Keys pressed with Alt (and F10) are system keys: they do not touch the key state.
        SDL_Keycode key = e.key.keysym.sym;
        bool system = (e.key.keysym.mod & KMOD_ALT) || key == SDLK_F10 || key == SDLK_LALT ||
                      key == SDLK_RALT;
        event->vk = VirtualKeyFromSDL(key);
        event->wParam = (uintptr_t)event->vk;
        if (!system && event->vk != 0) event->kind = e.type == SDL_KEYDOWN ? EV_KEYDOWN : EV_KEYUP;
        break;
    }
    case SDL_WINDOWEVENT:
        switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE: event->kind = EV_CLOSE; break;
        case SDL_WINDOWEVENT_MINIMIZED:
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_FOCUS_GAINED:
        case SDL_WINDOWEVENT_FOCUS_LOST:
            event->kind = EV_ACTIVATE;
            event->minimised = window && (SDL_GetWindowFlags(window) & SDL_WINDOW_MINIMIZED);
            if (e.window.event == SDL_WINDOWEVENT_MINIMIZED) event->minimised = true;
            if (e.window.event == SDL_WINDOWEVENT_RESTORED) event->minimised = false;
            event->wParam = (event->minimised ? 0x10000u : 0u) |
                            (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST ? 0u : 1u);
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            event->kind = EV_SIZE;
            event->width = e.window.data1;
            event->height = e.window.data2;
            break;
        default: break;
        }
        break;
    default: break;
    }
    return true;
}

void PostQuit() {
    SDL_Event quit;
    SDL_zero(quit);
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
}

int MessageBox(const char *text, const char *caption, unsigned style) {
    Uint32 flags = SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
    switch (style & 0xF0) {
    case MB_ICONSTOP: flags |= SDL_MESSAGEBOX_ERROR; break;
    case MB_ICONEXCLAMATION: flags |= SDL_MESSAGEBOX_WARNING; break;
    case MB_ICONQUESTION:
    case MB_ICONINFORMATION: flags |= SDL_MESSAGEBOX_INFORMATION; break;
    default: break;
    }
    const SDL_MessageBoxButtonData ok[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDOK,
         "OK"}};
    const SDL_MessageBoxButtonData yesNo[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, "Yes"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDNO, "No"}};
    bool isYesNo = (style & 0x0F) == MB_YESNO;
    SDL_MessageBoxData data;
    SDL_zero(data);
    data.flags = flags;
    data.title = caption;
    data.message = text;
    data.numbuttons = isYesNo ? 2 : 1;
    data.buttons = isYesNo ? yesNo : ok;
    int pressed = -1;
    if (SDL_ShowMessageBox(&data, &pressed) != 0) return IDFAILED;
    SDL_ClearError();
    // A box closed by its window manager answers as Escape would.
    if (pressed < 0) return isYesNo ? IDNO : IDOK;
    return pressed;
}

uint32_t Ticks() { return SDL_GetTicks(); }

const char *TakeError() {
    static std::string reason;
    reason = SDL_GetError();
    SDL_ClearError();
    return reason.c_str();
}

}  // namespace

const Platform windowPlatform = KELVORIN_PLATFORM_TABLE("window");

}  // namespace kelvorin

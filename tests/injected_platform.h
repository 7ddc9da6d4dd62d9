// A backend for tests that wraps the offscreen one: it logs every window and context step,
// makes a chosen step fail, answers and records the message boxes, feeds scripted events and
// can replace the clock. The shell sees it as any other backend, so the whole program path
// (RunDemo) runs on it with its real error handling.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace injected {

using kelvorin::Event;
using kelvorin::offscreenPlatform;
using kelvorin::PixelFormatRequest;

// Every step that can fail, in the order OpenDemoWindow and then CloseDemoWindow call them.
enum Step {
    REGISTER_CLASS,
    SET_DISPLAY_MODE,
    CREATE_WINDOW,
    GET_DEVICE_CONTEXT,
    CHOOSE_PIXEL_FORMAT,
    SET_PIXEL_FORMAT,
    CREATE_CONTEXT,
    MAKE_CURRENT,
    RELEASE_CURRENT,
    DELETE_CONTEXT,
    RELEASE_DEVICE_CONTEXT,
    DESTROY_WINDOW,
    UNREGISTER_CLASS,
    NO_STEP
};
inline const char *const stepNames[] = {
    "registerClass",     "setDisplayMode", "createWindow",         "getDeviceContext",
    "choosePixelFormat", "setPixelFormat", "createContext",        "makeCurrent",
    "releaseCurrent",    "deleteContext",  "releaseDeviceContext", "destroyWindow",
    "unregisterClass",
};

struct Box {
    std::string text, caption;
    unsigned style;
};

// What happened, in order: step names, "showCursor(0|1)", "restoreDisplayMode", "showWindow"
// and "box:TEXT" for every message box.
inline std::vector<std::string> log;
inline std::vector<Box> boxes;
inline int swaps = 0;

// The step that fails, on its failAtCall-th call (1 = the first).
inline Step failing = NO_STEP;
inline int failAtCall = 1;
inline int calls[NO_STEP];

// Answers to the Yes/No boxes; OK boxes answer IDOK.
inline int startAnswer = kelvorin::IDNO;     // windowed
inline int fallbackAnswer = kelvorin::IDNO;  // refuses the windowed fallback

// Scripted input and clock. events gets the number of the poll (from 1) and fills the event;
// onSwap runs after every presented frame; ticks replaces the offscreen clock.
inline std::function<bool(int, Event *)> events;
inline std::function<void()> onSwap;
inline std::function<uint32_t()> ticks;
inline int polls = 0;

// Opening steps fail before the real one runs, so nothing is created; teardown steps run the
// real one first, so that a reported failure leaks nothing.
inline bool Fails(Step step) {
    log.push_back(stepNames[step]);
    return step == failing && ++calls[step] == failAtCall;
}

inline bool RegisterClass() { return !Fails(REGISTER_CLASS) && offscreenPlatform.registerClass(); }
inline bool SetDisplayMode(int w, int h, int bits) {
    return !Fails(SET_DISPLAY_MODE) && offscreenPlatform.setDisplayMode(w, h, bits);
}
inline void RestoreDisplayMode() {
    log.push_back("restoreDisplayMode");
    offscreenPlatform.restoreDisplayMode();
}
inline void ShowCursor(bool show) { log.push_back(show ? "showCursor(1)" : "showCursor(0)"); }
inline bool CreateWindow(const char *title, int w, int h, bool fullscreen,
                         const PixelFormatRequest &request) {
    return !Fails(CREATE_WINDOW) &&
           offscreenPlatform.createWindow(title, w, h, fullscreen, request);
}
inline bool GetDeviceContext() {
    return !Fails(GET_DEVICE_CONTEXT) && offscreenPlatform.getDeviceContext();
}
inline bool ChoosePixelFormat(const PixelFormatRequest &request) {
    return !Fails(CHOOSE_PIXEL_FORMAT) && offscreenPlatform.choosePixelFormat(request);
}
inline bool SetPixelFormat() {
    return !Fails(SET_PIXEL_FORMAT) && offscreenPlatform.setPixelFormat();
}
inline bool CreateContext() { return !Fails(CREATE_CONTEXT) && offscreenPlatform.createContext(); }
inline bool MakeCurrent() { return !Fails(MAKE_CURRENT) && offscreenPlatform.makeCurrent(); }

// A teardown step: the real release, then the scripted answer.
inline bool Release(Step step, bool (*real)()) {
    log.push_back(stepNames[step]);
    bool ok = real();
    return ok && !(step == failing && ++calls[step] == failAtCall);
}
inline bool ReleaseCurrent() { return Release(RELEASE_CURRENT, offscreenPlatform.releaseCurrent); }
inline bool DeleteContext() { return Release(DELETE_CONTEXT, offscreenPlatform.deleteContext); }
inline bool ReleaseDeviceContext() {
    return Release(RELEASE_DEVICE_CONTEXT, offscreenPlatform.releaseDeviceContext);
}
inline bool DestroyWindow() { return Release(DESTROY_WINDOW, offscreenPlatform.destroyWindow); }
inline bool UnregisterClass() {
    return Release(UNREGISTER_CLASS, offscreenPlatform.unregisterClass);
}

inline void ShowWindow() { log.push_back("showWindow"); }
inline void SwapBuffers() {
    offscreenPlatform.swapBuffers();
    swaps++;
    if (onSwap) onSwap();
}
inline bool PollEvent(Event *event) {
    polls++;
    return events && events(polls, event);
}
inline void PostQuit() {}
inline int MessageBox(const char *text, const char *caption, unsigned style) {
    log.push_back(std::string("box:") + text);
    boxes.push_back({text, caption, style});
    if ((style & 0x0F) != kelvorin::MB_YESNO) return kelvorin::IDOK;
    return std::string(caption) == "Start FullScreen?" ? startAnswer : fallbackAnswer;
}
inline uint32_t Ticks() { return ticks ? ticks() : offscreenPlatform.ticks(); }
inline const char *TakeError() { return offscreenPlatform.takeError(); }

inline const kelvorin::Platform platform = KELVORIN_PLATFORM_TABLE("injected");

// Puts the backend in place. The sound is the edition's own: none offscreen, while the Linux
// edition's tests choose SDL's driver themselves.
inline void Install() { kelvorin::platform = &platform; }

// The log from the first entry equal to `from` on (empty when there is none).
inline std::vector<std::string> LogFrom(const std::string &from) {
    for (size_t i = 0; i < log.size(); i++)
        if (log[i] == from) return std::vector<std::string>(log.begin() + i, log.end());
    return {};
}

inline Event Key(kelvorin::EventKind kind, int vk) {
    return Event{kind, vk, false, 0, 0, uintptr_t(vk)};
}

}  // namespace injected

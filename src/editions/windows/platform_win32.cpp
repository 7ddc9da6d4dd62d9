// The window backend on Windows: the real Win32, GDI and WGL calls, one for each step of the
// platform interface, with the window class, styles, display-mode request and pixel format
// descriptor that the demo was written against.
//
// Messages reach the shell's window procedure the way Windows delivers them. Windows calls a
// window procedure directly, not only from DispatchMessage: WM_SIZE and WM_ACTIVATE arrive
// inside CreateWindowEx, ShowWindow, SetForegroundWindow and DestroyWindow, and WM_CLOSE from
// the close box arrives inside DispatchMessage as a message sent by DefWindowProc. So the
// class's procedure (WindowProc below) turns each message the demo handles into an Event and
// hands it to DemoWindowProc at once, on the spot where Windows calls it: a resize during
// creation sets the view at once, as it would in a program whose procedure is DemoWindowProc
// itself. pollEvent therefore takes one message with PeekMessage, translates and dispatches
// it itself, and reports it to the frame loop as EV_DISPATCHED (already handed to the shell,
// which the loop does not do again), or as EV_QUIT for WM_QUIT, with the message's wParam
// either way. Queuing the sent messages for a later pollEvent instead would move a
// resize or an activation away from the call that caused it, and add passes without a message.
//
// The shell's headers come first: windows.h defines MB_OK, VK_ESCAPE and the like as macros,
// which would rewrite the shell's own names for the same values.
#include "platform/platform.h"
#include "shell/window.h"

#include <windows.h>
#include <mmsystem.h>

#include <cstdio>
#include <cstring>

namespace kelvorin {

namespace {

const char CLASS_NAME[] = "OpenGL";

HINSTANCE instance = nullptr;
HWND window = nullptr;
HDC deviceContext = nullptr;
HGLRC renderingContext = nullptr;
PIXELFORMATDESCRIPTOR descriptor;
int pixelFormat = 0;

// Why the last failed step failed, as GetLastError said it (0 when it succeeded).
DWORD lastError = 0;

// Passes a step's result on, keeping Windows' reason for a failure. A success also clears the
// thread's own last error, since some calls fail without setting one and would otherwise
// report a reason left behind by an earlier call.
bool Ok(bool success) {
    lastError = success ? 0 : GetLastError();
    if (success) SetLastError(0);
    return success;
}

LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Event event{EV_OTHER, 0, false, 0, 0, wParam};
    switch (message) {
    case WM_ACTIVATE:
        event.kind = EV_ACTIVATE;
        event.minimised = HIWORD(wParam) != 0;
        break;
    case WM_SYSCOMMAND:
        // The screen saver and monitor power saving stay off while the demo runs.
        if (wParam == SC_SCREENSAVE || wParam == SC_MONITORPOWER) return 0;
        return DefWindowProcA(hWnd, message, wParam, lParam);
    case WM_CLOSE: event.kind = EV_CLOSE; break;
    case WM_KEYDOWN:
    case WM_KEYUP:
        event.kind = message == WM_KEYDOWN ? EV_KEYDOWN : EV_KEYUP;
        event.vk = (int)wParam;
        break;
    case WM_SIZE:
        event.kind = EV_SIZE;
        event.width = LOWORD(lParam);
        event.height = HIWORD(lParam);
        break;
    default:
        // System keys among them: Alt and F10 go to the window menu, not to the key state.
        return DefWindowProcA(hWnd, message, wParam, lParam);
    }
    DemoWindowProc(event);
    return 0;
}

bool RegisterWindowClass() {
    instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass;
    std::memset(&windowClass, 0, sizeof windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(nullptr, (LPCSTR)IDI_WINLOGO);
    windowClass.hCursor = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    windowClass.lpszClassName = CLASS_NAME;
    return Ok(RegisterClassA(&windowClass) != 0);
}

bool UnregisterWindowClass() { return Ok(UnregisterClassA(CLASS_NAME, instance) != 0); }

// The request names only the size and the colour depth; the refresh rate stays the display's.
// dmSize is the size of the DEVMODEA that these headers declare (156 bytes: it has grown two
// panning fields since the 148-byte version), so that Windows reads exactly what we zeroed.
bool SetDisplayMode(int width, int height, int colorBits) {
    DEVMODEA mode;
    std::memset(&mode, 0, sizeof mode);
    mode.dmSize = sizeof mode;
    mode.dmPelsWidth = width;
    mode.dmPelsHeight = height;
    mode.dmBitsPerPel = colorBits;
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    // A refusal is the display's answer, not a failure with a reason.
    lastError = 0;
    return ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL;
}

void RestoreDisplayMode() { ChangeDisplaySettingsA(nullptr, 0); }

void ShowMouseCursor(bool show) { ShowCursor(show ? TRUE : FALSE); }

// The window is created hidden, at the screen's top-left corner, with its outer rectangle
// grown so that the client area has the requested size.
bool OpenWindow(const char *title, int width, int height, bool fullscreen,
                const PixelFormatRequest &) {
    DWORD exStyle = fullscreen ? WS_EX_APPWINDOW : WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;
    DWORD style = fullscreen ? WS_POPUP : WS_OVERLAPPEDWINDOW;
    RECT rect = {0, 0, width, height};
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    window = CreateWindowExA(exStyle, CLASS_NAME, title, style | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                             0, 0, rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                             instance, nullptr);
    return Ok(window != nullptr);
}

bool DestroyDemoWindow() {
    bool destroyed = Ok(DestroyWindow(window) != 0);
    window = nullptr;
    return destroyed;
}

bool GetDeviceContext() {
    deviceContext = GetDC(window);
    return Ok(deviceContext != nullptr);
}

bool ReleaseDeviceContext() {
    bool released = ReleaseDC(window, deviceContext) != 0;
    deviceContext = nullptr;
    return released;
}

// Every field of the descriptor is set: what the request leaves out is 0.
bool ChooseFormat(const PixelFormatRequest &request) {
    std::memset(&descriptor, 0, sizeof descriptor);
    descriptor.nSize = sizeof descriptor;
    descriptor.nVersion = 1;
    descriptor.dwFlags =
        PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | (request.doubleBuffer ? PFD_DOUBLEBUFFER : 0);
    descriptor.iPixelType = PFD_TYPE_RGBA;
    descriptor.cColorBits = (BYTE)request.colorBits;
    descriptor.cAlphaBits = (BYTE)request.alphaBits;
    descriptor.cAccumBits = (BYTE)request.accumBits;
    descriptor.cDepthBits = (BYTE)request.depthBits;
    descriptor.cStencilBits = (BYTE)request.stencilBits;
    descriptor.cAuxBuffers = (BYTE)request.auxBuffers;
    descriptor.iLayerType = PFD_MAIN_PLANE;
    pixelFormat = ChoosePixelFormat(deviceContext, &descriptor);
    return Ok(pixelFormat != 0);
}

bool SetFormat() { return Ok(SetPixelFormat(deviceContext, pixelFormat, &descriptor) != 0); }

bool CreateContext() {
    renderingContext = wglCreateContext(deviceContext);
    return Ok(renderingContext != nullptr);
}

// Every new context presents in step with the display: adaptive sync (a late frame is shown at
// once rather than a whole refresh later) where the driver offers it, plain sync otherwise. A
// driver that offers neither simply runs unsynchronised.
void SyncToDisplay() {
    typedef const char *(WINAPI * ExtensionsARB)(HDC);
    typedef const char *(WINAPI * ExtensionsEXT)(void);
    typedef BOOL(WINAPI * SwapInterval)(int);
    auto swapInterval = (SwapInterval)(void *)wglGetProcAddress("wglSwapIntervalEXT");
    if (!swapInterval) return;
    auto extensionsARB = (ExtensionsARB)(void *)wglGetProcAddress("wglGetExtensionsStringARB");
    auto extensionsEXT = (ExtensionsEXT)(void *)wglGetProcAddress("wglGetExtensionsStringEXT");
    const char *extensions = extensionsARB   ? extensionsARB(deviceContext)
                             : extensionsEXT ? extensionsEXT()
                                             : nullptr;
    bool tear = extensions && std::strstr(extensions, "WGL_EXT_swap_control_tear");
    if (!tear || !swapInterval(-1)) swapInterval(1);
}

bool MakeCurrent() {
    if (!Ok(wglMakeCurrent(deviceContext, renderingContext) != 0)) return false;
    SyncToDisplay();
    return true;
}

bool ReleaseCurrent() { return wglMakeCurrent(nullptr, nullptr) != 0; }

bool DeleteContext() {
    bool deleted = wglDeleteContext(renderingContext) != 0;
    renderingContext = nullptr;
    return deleted;
}

void ShowDemoWindow() {
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    SetFocus(window);
}

void Present() {
    if (deviceContext) SwapBuffers(deviceContext);
}

bool PollEvent(Event *event) {
    MSG message;
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) return false;
    *event = Event{message.message == WM_QUIT ? EV_QUIT : EV_DISPATCHED,
                   0,
                   false,
                   0,
                   0,
                   (uintptr_t)message.wParam};
    if (message.message != WM_QUIT) {
        TranslateMessage(&message);
        DispatchMessageA(&message);  // WindowProc has handed it to DemoWindowProc
    }
    return true;
}

void PostQuit() { PostQuitMessage(0); }

// The styles are Windows' own values; a box has no owner window.
int ShowBox(const char *text, const char *caption, unsigned style) {
    int answer = MessageBoxA(nullptr, text, caption, style);
    Ok(answer != 0);
    return answer;
}

uint32_t Ticks() { return timeGetTime(); }

const char *TakeError() {
    static char reason[256];
    reason[0] = '\0';
    if (lastError != 0) {
        DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                      nullptr, lastError, 0, reason, sizeof reason, nullptr);
        // System texts end in a line break; a code without a text is given as a number.
        while (length > 0 && (reason[length - 1] == '\n' || reason[length - 1] == '\r' ||
                              reason[length - 1] == ' ' || reason[length - 1] == '.'))
            reason[--length] = '\0';
        if (length == 0) std::snprintf(reason, sizeof reason, "error %lu", lastError);
    }
    lastError = 0;
    return reason;
}

}  // namespace

const Platform windowPlatform = {
    .name = "window",
    .registerClass = RegisterWindowClass,
    .unregisterClass = UnregisterWindowClass,
    .setDisplayMode = SetDisplayMode,
    .restoreDisplayMode = RestoreDisplayMode,
    .showCursor = ShowMouseCursor,
    .createWindow = OpenWindow,
    .destroyWindow = DestroyDemoWindow,
    .getDeviceContext = GetDeviceContext,
    .releaseDeviceContext = ReleaseDeviceContext,
    .choosePixelFormat = ChooseFormat,
    .setPixelFormat = SetFormat,
    .createContext = CreateContext,
    .makeCurrent = MakeCurrent,
    .releaseCurrent = ReleaseCurrent,
    .deleteContext = DeleteContext,
    .showWindow = ShowDemoWindow,
    .swapBuffers = Present,
    .pollEvent = PollEvent,
    .postQuit = PostQuit,
    .messageBox = ShowBox,
    .ticks = Ticks,
    .takeError = TakeError,
};

}  // namespace kelvorin

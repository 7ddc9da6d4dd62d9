/* A small Windows program for the Wine tests; it runs in the demo's Wine prefix, so it sees the
   demo's windows as Windows shows them.
     probe box CAPTION ANSWER   waits for a message box with this caption, prints its text and
                                then "buttons:" with its buttons, and presses ANSWER (Yes, No
                                or OK); exit 2 when the box has no such button
     probe window TITLE         waits for a shown window of the class "OpenGL" with this title
                                and prints "X Y CLIENT_WIDTH CLIENT_HEIGHT STYLE MODE": the
                                outer window's top-left corner, the client area's size,
                                "popup" or "overlapped", and the display mode as WxHxBITS
   Each waits up to 60 s (exit 1 when nothing came).
     probe version EXE          prints the version strings of a program as Explorer reads them:
                                "NAME: VALUE" for ProductName, ProductVersion, FileVersion and
                                FileDescription in the first language the program lists
     probe icon EXE OUT         writes the 256 x 256 image of the program's first icon (the one
                                Explorer shows) to OUT as it is stored (a PNG) */
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static const struct {
    const char *name;
    int id;
} BUTTONS[] = {{"OK", IDOK},         {"Cancel", IDCANCEL}, {"Abort", IDABORT}, {"Retry", IDRETRY},
               {"Ignore", IDIGNORE}, {"Yes", IDYES},       {"No", IDNO}};

static HWND WaitFor(const char *windowClass, const char *title) {
    for (int i = 0; i < 600; i++) {
        HWND found = FindWindowA(windowClass, title);
        if (found && IsWindowVisible(found)) return found;
        Sleep(100);
    }
    return NULL;
}

/* The box's text is its static control that is not the icon. */
static BOOL CALLBACK FindBoxText(HWND child, LPARAM result) {
    char className[32];
    GetClassNameA(child, className, sizeof className);
    if (_stricmp(className, "Static") != 0 ||
        (GetWindowLongA(child, GWL_STYLE) & SS_ICON) == SS_ICON)
        return TRUE;
    *(HWND *)result = child;
    return FALSE;
}

static int Box(const char *caption, const char *answer) {
    HWND box = WaitFor("#32770", caption);
    if (!box) return 1;
    Sleep(200); /* the box fills in its controls as it opens */
    HWND textControl = NULL;
    EnumChildWindows(box, FindBoxText, (LPARAM)&textControl);
    char text[1024] = "";
    if (textControl) SendMessageA(textControl, WM_GETTEXT, sizeof text, (LPARAM)text);
    /* One line per line of the text, as the box shows them. */
    for (char *c = text; *c; c++)
        if (*c == '\r') memmove(c, c + 1, strlen(c));
    printf("%s\nbuttons:", text);
    int press = 0;
    for (size_t i = 0; i < sizeof BUTTONS / sizeof *BUTTONS; i++) {
        HWND button = GetDlgItem(box, BUTTONS[i].id);
        if (!button || !IsWindowVisible(button)) continue;
        printf(" %s", BUTTONS[i].name);
        if (_stricmp(BUTTONS[i].name, answer) == 0) press = BUTTONS[i].id;
    }
    printf("\n");
    fflush(stdout);
    if (!press) return 2;
    /* What a click on the button sends its box. */
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(press, BN_CLICKED), (LPARAM)GetDlgItem(box, press));
    return 0;
}

static int Window(const char *title) {
    HWND window = WaitFor("OpenGL", title);
    if (!window) return 1;
    RECT outer, client;
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    LONG style = GetWindowLongA(window, GWL_STYLE);
    DEVMODEA mode;
    memset(&mode, 0, sizeof mode);
    mode.dmSize = sizeof mode;
    EnumDisplaySettingsA(NULL, ENUM_CURRENT_SETTINGS, &mode);
    printf("%ld %ld %ld %ld %s %lux%lux%lu\n", outer.left, outer.top, client.right - client.left,
           client.bottom - client.top, (style & WS_POPUP) ? "popup" : "overlapped",
           mode.dmPelsWidth, mode.dmPelsHeight, mode.dmBitsPerPel);
    return 0;
}

static int Version(const char *exe) {
    DWORD ignored, size = GetFileVersionInfoSizeA(exe, &ignored);
    void *info = size ? malloc(size) : NULL;
    WORD *languages;
    UINT length;
    if (!info || !GetFileVersionInfoA(exe, 0, size, info) ||
        !VerQueryValueA(info, "\\VarFileInfo\\Translation", (void **)&languages, &length) ||
        length < 2 * sizeof(WORD)) {
        free(info);
        return 1;
    }
    static const char *const NAMES[] = {"ProductName", "ProductVersion", "FileVersion",
                                        "FileDescription"};
    for (size_t i = 0; i < sizeof NAMES / sizeof *NAMES; i++) {
        char path[80];
        char *value;
        snprintf(path, sizeof path, "\\StringFileInfo\\%04x%04x\\%s", languages[0], languages[1],
                 NAMES[i]);
        int found = VerQueryValueA(info, path, (void **)&value, &length) && length;
        printf("%s: %s\n", NAMES[i], found ? value : "(none)");
    }
    free(info);
    return 0;
}

static BOOL CALLBACK FirstName(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR result) {
    (void)module, (void)type;
    *(LPCSTR *)result = IS_INTRESOURCE(name) ? name : _strdup(name);
    return FALSE;
}

static int Icon(const char *exe, const char *out) {
    HMODULE module = LoadLibraryExA(exe, NULL, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return 1;
    LPCSTR group = NULL;
    EnumResourceNamesA(module, (LPCSTR)RT_GROUP_ICON, FirstName, (LONG_PTR)&group);
    HRSRC directory = group ? FindResourceA(module, group, (LPCSTR)RT_GROUP_ICON) : NULL;
    int id = directory ? LookupIconIdFromDirectoryEx(LockResource(LoadResource(module, directory)),
                                                     TRUE, 256, 256, LR_DEFAULTCOLOR)
                       : 0;
    HRSRC image = id ? FindResourceA(module, MAKEINTRESOURCEA(id), (LPCSTR)RT_ICON) : NULL;
    FILE *file = image ? fopen(out, "wb") : NULL;
    int written = file && fwrite(LockResource(LoadResource(module, image)),
                                 SizeofResource(module, image), 1, file) == 1;
    if (file && fclose(file) != 0) written = 0;
    FreeLibrary(module);
    return written ? 0 : 1;
}

int main(int argc, char **argv) {
    _setmode(_fileno(stdout), _O_BINARY); /* lines end in \n alone, as the tests read them */
    if (argc == 4 && strcmp(argv[1], "box") == 0) return Box(argv[2], argv[3]);
    if (argc == 3 && strcmp(argv[1], "window") == 0) return Window(argv[2]);
    if (argc == 3 && strcmp(argv[1], "version") == 0) return Version(argv[2]);
    if (argc == 4 && strcmp(argv[1], "icon") == 0) return Icon(argv[2], argv[3]);
    fprintf(stderr,
            "usage: probe box CAPTION Yes|No|OK | probe window TITLE | probe version EXE | "
            "probe icon EXE OUT\n");
    return 64;
}

/* A small X client for the end-to-end tests.
     xwin find TITLE   prints the id of the newest mapped top-level window with exactly this
                       title (exit 1 when there is none)
     xwin focus ID     gives the window the keyboard focus
     xwin close ID     asks the window to close as a window manager's close box does
     xwin cursor       prints "hidden" when the pointer's cursor is blank, else "shown"
     xwin lit ID       exit 0 when the middle of the window (a fifth of it each way) has a
                       pixel brighter than a quarter of full scale, 1 when not */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static int Find(Display *display, const char *title) {
    Window root, parent, *children = NULL;
    unsigned int count = 0;
    if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count))
        return 1;
    Window found = 0;
    for (unsigned int i = 0; i < count; i++) { /* stacking order: the newest comes last */
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(display, children[i], &attributes) ||
            attributes.map_state != IsViewable)
            continue;
        /* The title as the window set it, whatever its encoding (SDL writes UTF-8). */
        XTextProperty name;
        if (XGetWMName(display, children[i], &name) && name.value) {
            if (strcmp((char *)name.value, title) == 0) found = children[i];
            XFree(name.value);
        }
    }
    if (children) XFree(children);
    if (!found) return 1;
    printf("%lu\n", (unsigned long)found);
    return 0;
}

static int Close(Display *display, Window window) {
    XEvent event;
    memset(&event, 0, sizeof event);
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = (long)XInternAtom(display, "WM_DELETE_WINDOW", False);
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    return 0;
}

/* The cursor the pointer shows now: blank when every pixel is transparent. */
static int CursorState(Display *display) {
    XFixesCursorImage *image = XFixesGetCursorImage(display);
    if (!image) return 2;
    int blank = 1;
    for (int i = 0; i < image->width * image->height; i++)
        if (image->pixels[i] >> 24) blank = 0;
    printf("%s\n", blank ? "hidden" : "shown");
    XFree(image);
    return 0;
}

/* Reads the pixels from the server, as a screenshot would: quicker than a screenshot program
   when a test takes shots several times a second. */
static int Lit(Display *display, Window window) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes)) return 2;
    int w = attributes.width / 5, h = attributes.height / 5;
    XImage *image = XGetImage(display, window, attributes.width * 2 / 5, attributes.height * 2 / 5,
                              w > 0 ? w : 1, h > 0 ? h : 1, AllPlanes, ZPixmap);
    if (!image) return 2;
    int lit = 0;
    for (int y = 0; y < image->height && !lit; y++)
        for (int x = 0; x < image->width && !lit; x++) {
            unsigned long p = XGetPixel(image, x, y);
            unsigned long masks[3] = {image->red_mask, image->green_mask, image->blue_mask};
            for (int c = 0; c < 3; c++) {
                unsigned long m = masks[c], v = p & m;
                while (m && !(m & 1)) m >>= 1, v >>= 1;
                if (m && v * 4 > m) lit = 1;
            }
        }
    XDestroyImage(image);
    return lit ? 0 : 1;
}

int main(int argc, char **argv) {
    if (argc == 2 && strcmp(argv[1], "cursor") == 0) {
        Display *display = XOpenDisplay(NULL);
        if (!display) return 2;
        int status = CursorState(display);
        XCloseDisplay(display);
        return status;
    }
    if (argc != 3) {
        fprintf(stderr, "usage: xwin find TITLE | focus ID | close ID | lit ID | cursor\n");
        return 2;
    }
    Display *display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "xwin: no display\n");
        return 2;
    }
    int status = 2;
    Window window = (Window)strtoul(argv[2], NULL, 0);
    if (strcmp(argv[1], "find") == 0) status = Find(display, argv[2]);
    else if (strcmp(argv[1], "focus") == 0) {
        XRaiseWindow(display, window);
        XSetInputFocus(display, window, RevertToParent, CurrentTime);
        status = 0;
    } else if (strcmp(argv[1], "close") == 0) status = Close(display, window);
    else if (strcmp(argv[1], "lit") == 0) status = Lit(display, window);
    XSync(display, False);
    XCloseDisplay(display);
    return status;
}

/* Stands in for a window manager's ICCCM duty only: Wine waits (up to 2 s) for
 * WM_STATE to change when it maps or withdraws a top-level window. This sets
 * WM_STATE on map and unmap, and does nothing else, so positions stay exact. */
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <stdio.h>

static int ignore_errors(Display* d, XErrorEvent* e) {
    (void)d;
    (void)e;
    return 0; /* windows may vanish between the event and our property write */
}

static void set_state(Display* d, Atom wm_state, Window w, long state) {
    long data[2] = {state, None};
    XChangeProperty(d, w, wm_state, wm_state, 32, PropModeReplace, (unsigned char*)data, 2);
}

int main(void) {
    Display* d = XOpenDisplay(NULL);
    if (!d) {
        fprintf(stderr, "wmstate: cannot open display\n");
        return 1;
    }
    XSetErrorHandler(ignore_errors);
    Atom wm_state = XInternAtom(d, "WM_STATE", False);
    Window root = DefaultRootWindow(d);
    XSelectInput(d, root, SubstructureNotifyMask);
    for (;;) {
        XEvent ev;
        XNextEvent(d, &ev);
        if (ev.type == MapNotify && !ev.xmap.override_redirect)
            set_state(d, wm_state, ev.xmap.window, 1 /* NormalState */);
        else if (ev.type == UnmapNotify)
            set_state(d, wm_state, ev.xunmap.window, 0 /* WithdrawnState */);
        XFlush(d);
    }
}

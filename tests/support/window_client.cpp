// A minimal X client for the tests of RunningProgram: shows one window with
// the title given as argument and the properties a GTK window carries
// (_NET_WM_PID, WM_DELETE_WINDOW in WM_PROTOCOLS), prints "mapped" once it
// is shown and "close requested" when asked to close, then exits 0.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: window_client TITLE\n");
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "no display\n");
    return 2;
  }
  const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 10, 10, 120, 40,
                                            0, 0, 0);
  XStoreName(display, window, argv[1]);
  const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
  XChangeProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False), utf8, 8,
                  PropModeReplace, reinterpret_cast<unsigned char*>(argv[1]),
                  static_cast<int>(std::strlen(argv[1])));
  const long pid = getpid();
  XChangeProperty(display, window, XInternAtom(display, "_NET_WM_PID", False), XA_CARDINAL, 32,
                  PropModeReplace, reinterpret_cast<const unsigned char*>(&pid), 1);
  Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
  XSetWMProtocols(display, window, &deleteWindow, 1);
  XSelectInput(display, window, StructureNotifyMask);
  XMapWindow(display, window);

  for (;;) {
    XEvent event;
    XNextEvent(display, &event);
    if (event.type == MapNotify) {
      std::printf("mapped\n");
      std::fflush(stdout);
    } else if (event.type == ClientMessage &&
               static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow) {
      std::printf("close requested\n");
      std::fflush(stdout);
      XCloseDisplay(display);
      return 0;
    }
  }
}

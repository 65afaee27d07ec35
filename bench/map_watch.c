/* Starts a program and prints how many milliseconds passed from the start of
 * the process until the X server mapped its window.
 *
 *   map_watch TITLE LIMIT_MS PROGRAM [ARGS...]
 *
 * TITLE is the window's WM_NAME, or "*" for the first mapped top-level
 * window larger than 1 x 1. The program is ended (its whole process group)
 * once the window is mapped. Prints "none" and exits 1 when the program ends
 * or LIMIT_MS passes without such a window. Run it without a window manager:
 * the MapNotify events watched are those of the root window's children. */
#define _DEFAULT_SOURCE
#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double NowMs(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

static int Matches(Display* display, Window window, const char* title) {
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, window, &attributes)) return 0;
  if (attributes.override_redirect) return 0;
  if (strcmp(title, "*") == 0) return attributes.width > 1 && attributes.height > 1;
  char* name = NULL;
  int same = XFetchName(display, window, &name) && name != NULL && strcmp(name, title) == 0;
  if (name != NULL) XFree(name);
  return same;
}

static void EndProgram(pid_t pid) {
  kill(-pid, SIGTERM);
  for (int i = 0; i < 100; ++i) {
    if (waitpid(pid, NULL, WNOHANG) == pid) return;
    usleep(10000);
  }
  kill(-pid, SIGKILL);
  waitpid(pid, NULL, 0);
}

int main(int argc, char** argv) {
  if (argc < 4) {
    fprintf(stderr, "usage: %s TITLE LIMIT_MS PROGRAM [ARGS...]\n", argv[0]);
    return 2;
  }
  const char* title = argv[1];
  const double limit = atof(argv[2]);
  Display* display = XOpenDisplay(NULL);
  if (display == NULL) {
    fprintf(stderr, "map_watch: no X display\n");
    return 2;
  }
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
  XSync(display, False);

  const double start = NowMs();
  const pid_t pid = fork();
  if (pid == 0) {
    setpgid(0, 0);
    /* Only the figure goes to standard output. */
    const int quiet = open("/dev/null", O_WRONLY);
    if (quiet >= 0) dup2(quiet, STDOUT_FILENO);
    execvp(argv[3], argv + 3);
    _exit(127);
  }
  setpgid(pid, pid);

  double mapped = -1;
  while (mapped < 0 && NowMs() - start < limit) {
    while (mapped < 0 && XPending(display)) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type == MapNotify && Matches(display, event.xmap.window, title)) mapped = NowMs();
    }
    if (mapped >= 0) break;
    if (waitpid(pid, NULL, WNOHANG) == pid) {
      printf("none\n");
      return 1;
    }
    struct pollfd fd = {ConnectionNumber(display), POLLIN, 0};
    poll(&fd, 1, 5);
  }
  EndProgram(pid);
  if (mapped < 0) {
    printf("none\n");
    return 1;
  }
  printf("%.1f\n", mapped - start);
  return 0;
}

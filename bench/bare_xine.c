/* The least a libxine player can do: open the default audio output, open and
 * play one file, poll its status every 20 ms until it stops.
 *   bare_xine [-m] FILE
 * With -m, libxine is told to copy memory with the C library's function, as
 * the player tells it, instead of timing every way it knows at its start. */
#define _GNU_SOURCE
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>
#include <xine.h>

static void ChooseLibraryMemoryCopy(xine_t* xine) {
  static const char setting[] = "engine.performance.memcpy_method:libc\n";
  char path[64];
  int fd = memfd_create("xine-settings", 0);
  if (fd < 0) return;
  if (write(fd, setting, sizeof setting - 1) == (ssize_t)(sizeof setting - 1)) {
    snprintf(path, sizeof path, "/proc/self/fd/%d", fd);
    xine_config_load(xine, path);
  }
  close(fd);
}

int main(int argc, char** argv) {
  const int chooseCopy = argc == 3 && strcmp(argv[1], "-m") == 0;
  if (argc != 2 + chooseCopy) {
    fprintf(stderr, "usage: bare_xine [-m] FILE\n");
    return 2;
  }
  const char* file = argv[1 + chooseCopy];
  setenv("JACK_NO_START_SERVER", "1", 0);
  xine_t* xine = xine_new();
  if (chooseCopy) ChooseLibraryMemoryCopy(xine);
  xine_init(xine);
  xine_audio_port_t* audio = xine_open_audio_driver(xine, NULL, NULL);
  xine_stream_t* stream = xine_stream_new(xine, audio, NULL);
  int status = 1;
  if (xine_open(stream, file) && xine_play(stream, 0, 0)) {
    const struct timespec tick = {0, 20 * 1000 * 1000};
    while (xine_get_status(stream) == XINE_STATUS_PLAY) nanosleep(&tick, NULL);
    status = 0;
  } else {
    fprintf(stderr, "bare_xine: cannot play %s\n", file);
  }
  xine_close(stream);
  xine_dispose(stream);
  if (audio) xine_close_audio_driver(xine, audio);
  xine_exit(xine);
  return status;
}

/* The least a libxine player can do: open the default audio output, open and
 * play one file, poll its status every 20 ms until it stops. */
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
#include <xine.h>

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: bare_xine FILE\n");
    return 2;
  }
  setenv("JACK_NO_START_SERVER", "1", 0);
  xine_t* xine = xine_new();
  xine_init(xine);
  xine_audio_port_t* audio = xine_open_audio_driver(xine, NULL, NULL);
  xine_stream_t* stream = xine_stream_new(xine, audio, NULL);
  int status = 1;
  if (xine_open(stream, argv[1]) && xine_play(stream, 0, 0)) {
    const struct timespec tick = {0, 20 * 1000 * 1000};
    while (xine_get_status(stream) == XINE_STATUS_PLAY) nanosleep(&tick, NULL);
    status = 0;
  } else {
    fprintf(stderr, "bare_xine: cannot play %s\n", argv[1]);
  }
  xine_close(stream);
  xine_dispose(stream);
  if (audio) xine_close_audio_driver(xine, audio);
  xine_exit(xine);
  return status;
}

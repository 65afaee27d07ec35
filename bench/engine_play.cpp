// Plays the files given on the command line one after the other through the
// player's media engine, polling its status every 20 ms like bare_xine does,
// so that the two can be compared. Prints each file's load result.
#include <chrono>
#include <cstdio>
#include <thread>

#include "playlist/xine_media_engine.h"

int main(int argc, char** argv) {
  orvo::XineMediaEngine engine;
  engine.Initialise();
  int failures = 0;
  for (int i = 1; i < argc; ++i) {
    engine.Release();
    if (!engine.Load(argv[i])) {
      std::printf("cannot play %s\n", argv[i]);
      ++failures;
      continue;
    }
    engine.SetVideoArea(150, 150, 0, 0);
    engine.Play(nullptr);
    while (engine.Status() != 0) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  engine.Shutdown();
  return failures == 0 ? 0 : 1;
}

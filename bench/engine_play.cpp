// Plays the files given on the command line one after the other through the
// player's media engine, polling its status every 20 ms like bare_xine does
// (or every N ms with "-p N" as the first arguments), so that the two can be
// compared. Reports each file that cannot be played.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <thread>

#include "backends/xine_media_engine.h"

int main(int argc, char** argv) {
  orvo::XineMediaEngine engine;
  engine.Initialise();
  int failures = 0;
  int first = 1;
  int pollMs = 20;
  if (argc > 2 && std::strcmp(argv[1], "-p") == 0) {
    pollMs = std::max(1, std::atoi(argv[2]));
    first = 3;
  }
  for (int i = first; i < argc; ++i) {
    engine.Release();
    if (!engine.Load(argv[i])) {
      std::printf("cannot play %s\n", argv[i]);
      ++failures;
      continue;
    }
    engine.SetVideoArea(150, 150, 0, 0);
    engine.Play(nullptr);
    while (engine.Status() != 0) std::this_thread::sleep_for(std::chrono::milliseconds(pollMs));
  }
  engine.Shutdown();
  return failures == 0 ? 0 : 1;
}

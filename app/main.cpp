#include <cstdlib>

#include "app/application.h"

int main(int argc, char** argv) {
  // libxine's jack output would otherwise start a jack server when no sound
  // server runs, which takes seconds and leaves a server behind. Set before
  // any thread starts: the engine starts on a thread of its own while the
  // GUI thread reads the environment, and setenv is not safe against that.
  setenv("JACK_NO_START_SERVER", "1", 0);
  orvo::Application application;
  return application.Run(argc, argv);
}

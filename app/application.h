#pragma once

namespace orvo {

// Owns every process-wide record of the player and runs start-up.
class Application {
 public:
  // Never returns while the player runs: the process ends in the shutdown
  // procedure. Returns 0 only after the usage text.
  int Run(int argc, char** argv);
};

}  // namespace orvo

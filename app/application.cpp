#include "app/application.h"

#include <cstdio>

namespace orvo {

int Application::Run(int, char**) {
  std::puts("INIT complete");
  std::puts("----");
  return 0;
}

}  // namespace orvo

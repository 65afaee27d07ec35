#pragma once
// The name the dialog tests of the app module include; everything lives in
// gui_support.h now.
#include <cstdlib>
#include <string>

#include "tests/ui/gui_support.h"

namespace orvo::test {

// A fresh folder below the temporary folder, ending in "/".
inline std::string MakeTempFolder() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base != nullptr ? base : "/tmp") + "/orvo-windows.XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "no temporary folder";
  return pattern + "/";
}

}  // namespace orvo::test

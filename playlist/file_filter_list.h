#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvo {

// One named filter of a file chooser: a file matches when any pattern does.
struct FileFilter {
  std::string name;
  std::vector<std::string> patterns;
};

// Parses a chooser filter list: name and pattern fields alternate, separated
// by "|"; a pattern field may hold several patterns separated by ";". The
// pattern "*.*" becomes "*" so that it also matches names without a dot.
// Empty patterns are dropped; a final name without a pattern field is ignored.
std::vector<FileFilter> ParseFileFilterList(std::string_view list);

}  // namespace orvo

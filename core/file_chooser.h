#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace orvo {

// What a modal toolkit file chooser asks for. The dialog offers "gtk-cancel"
// and "gtk-open", the latter being the default response.
struct FileChooserRequest {
  enum class Action { kOpenFiles, kSelectFolder };

  std::string title;
  Action action = Action::kOpenFiles;
  bool multiple = false;           // several files selectable
  std::string startFolder;         // empty: wherever the toolkit starts
  std::string filterList;          // see ParseFileFilterList; empty: no filters
  std::size_t selectedFilter = 0;  // index into the parsed filter list
};

// Runs a modal chooser for `request` and returns the chosen paths exactly as
// the toolkit reports them (absolute, in the file system's encoding), in the
// toolkit's order; empty when the chooser was cancelled.
using ChooseFiles = std::function<std::vector<std::string>(const FileChooserRequest& request)>;

}  // namespace orvo

#pragma once

#include <string>
#include <vector>

namespace orvo {

// Names (without folder) of the entries of `folder` that match the
// case-sensitive shell pattern `pattern`, in the order the file system lists
// them. Folders are left out, and so are hidden names unless the pattern
// starts with ".". An unreadable folder gives an empty list.
std::vector<std::string> FilesMatching(const std::string& folder, const char* pattern);

}  // namespace orvo

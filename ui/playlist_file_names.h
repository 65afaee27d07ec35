#pragma once

#include <string>

namespace orvo {

// A found file split the way the playlist manager lists it.
struct FolderAndName {
  std::string folder;  // up to and including the last "/", or empty
  std::string name;
};

FolderAndName SplitFolderAndName(const std::string& path);

// `path` itself when its file name's extension (the text after the last "."
// of the name) is "m3u" in any letter case, else `path` + ".m3u".
std::string WithPlaylistExtension(const std::string& path);

// Byte comparison with ASCII letters folded to one case.
bool EqualIgnoringCase(const std::string& a, const std::string& b);

}  // namespace orvo

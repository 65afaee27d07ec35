#pragma once

#include <string>
#include <string_view>

namespace orvo {

// A path split after its last "/": the folder keeps the "/" (empty without
// one), the name is the rest.
struct FolderAndName {
  std::string folder;
  std::string name;
};
FolderAndName SplitFolderAndName(const std::string& path);

// The text after the last "." of the path's file name ("MP3" for
// "dir.x/Song.MP3"); empty when the name has no ".".
std::string Extension(std::string_view path);
// Extension lower-cased in ASCII ("mp3" for "Song.MP3").
std::string LowerExtension(std::string_view path);

}  // namespace orvo

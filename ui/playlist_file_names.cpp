#include "ui/playlist_file_names.h"

#include <cstddef>

namespace orvo {
namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

FolderAndName SplitFolderAndName(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {std::string(), path};
  return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

std::string WithPlaylistExtension(const std::string& path) {
  const std::string name = SplitFolderAndName(path).name;
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && EqualIgnoringCase(name.substr(dot + 1), "m3u")) return path;
  return path + ".m3u";
}

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

}  // namespace orvo

#include "base/file_name.h"

#include "base/ascii.h"

namespace orvo {

FolderAndName SplitFolderAndName(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {std::string(), path};
  return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

std::string Extension(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
  const std::size_t dot = path.rfind('.');
  if (dot == std::string_view::npos || dot < nameStart) return std::string();
  return std::string(path.substr(dot + 1));
}

std::string LowerExtension(std::string_view path) { return AsciiLower(Extension(path)); }

}  // namespace orvo

#include "base/folder_listing.h"

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>

#include <memory>

namespace orvo {
namespace {

struct DirCloser {
  void operator()(DIR* dir) const noexcept { closedir(dir); }
};

bool IsFolder(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

std::vector<std::string> FilesMatching(const std::string& folder, const char* pattern) {
  std::vector<std::string> names;
  const std::unique_ptr<DIR, DirCloser> dir(opendir(folder.c_str()));
  if (!dir) return names;
  std::string prefix = folder;
  if (!prefix.empty() && prefix.back() != '/') prefix += '/';
  while (const dirent* entry = readdir(dir.get())) {
    const std::string name = entry->d_name;
    if (fnmatch(pattern, name.c_str(), FNM_PERIOD) != 0) continue;
    if (IsFolder(prefix + name)) continue;
    names.push_back(name);
  }
  return names;
}

}  // namespace orvo

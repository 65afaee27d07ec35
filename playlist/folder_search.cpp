#include "playlist/folder_search.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <memory>

#include "base/ascii.h"

namespace orvo {
namespace {

struct DirCloser {
  void operator()(DIR* dir) const noexcept { closedir(dir); }
};
using DirPtr = std::unique_ptr<DIR, DirCloser>;


// Opens a folder for reading its entries. Subfolders are opened without
// following a symbolic link in their last component: they were examined as
// real folders, and a link swapped in since then must not lead the walk
// elsewhere. The chosen folder itself may well be reached through a link.
DirPtr OpenFolder(std::string& path, bool followLink) {
  int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
  int fd;
  if (followLink) {
    fd = open(path.c_str(), flags);
  } else {
    // The trailing "/" would make the kernel follow a link regardless.
    path.pop_back();
    fd = open(path.c_str(), flags | O_NOFOLLOW);
    path.push_back('/');
  }
  if (fd < 0) return nullptr;
  DIR* dir = fdopendir(fd);
  if (!dir) close(fd);
  return DirPtr(dir);
}

// Reads the folder `path` (ending with "/") once: music files are appended to
// `found`, subfolders (with a trailing "/") to `subfolders`, both in listing
// order.
void ScanFolder(std::string& path, bool chosenFolder, std::vector<std::string>& found,
                std::vector<std::string>& subfolders) {
  DirPtr dir = OpenFolder(path, chosenFolder);
  if (!dir) return;
  const int fd = dirfd(dir.get());
  // The entry type reported with each name saves one lstat per entry. It is
  // trusted only after one real lstat has succeeded in this folder: a folder
  // that can be listed but not searched lists names that cannot be examined,
  // and those are left out.
  bool probed = false;
  bool statEveryEntry = false;
  while (const dirent* entry = readdir(dir.get())) {
    const char* name = entry->d_name;
    if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) continue;
    bool isFolder;
    if (!probed || statEveryEntry || entry->d_type == DT_UNKNOWN) {
      struct stat st;
      const bool examined = fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) == 0;
      if (!probed) {
        probed = true;
        statEveryEntry = !examined;
      }
      if (!examined) continue;
      isFolder = S_ISDIR(st.st_mode);
    } else {
      isFolder = entry->d_type == DT_DIR;
    }
    if (isFolder) {
      std::string sub;
      const std::size_t nameLength = std::strlen(name);
      sub.reserve(path.size() + nameLength + 1);
      sub.append(path).append(name, nameLength).push_back('/');
      subfolders.push_back(std::move(sub));
    } else if (IsMusicFileName(name, chosenFolder)) {
      found.push_back(path + name);
    }
  }
}

}  // namespace

bool IsMusicFileName(std::string_view fileName, bool inChosenFolder) {
  const std::size_t dot = fileName.rfind('.');
  if (dot == std::string_view::npos || fileName.size() - dot != 4) return false;
  const char ext[3] = {AsciiLower(fileName[dot + 1]), AsciiLower(fileName[dot + 2]),
                       AsciiLower(fileName[dot + 3])};
  const std::string_view e(ext, 3);
  return e == "mp3" || e == "wav" || e == "ogg" || (inChosenFolder && e == "mpc");
}

void FindMusicFiles(const std::string& folder, std::vector<std::string>& found) {
  if (folder.empty()) return;
  std::string chosen = folder;
  if (chosen.back() != '/') chosen.push_back('/');

  // The folders still to scan, the next one at the back, so that a folder's
  // subfolders are visited right after it and before its later siblings.
  std::vector<std::string> pending;
  std::vector<std::string> subfolders;
  ScanFolder(chosen, true, found, subfolders);
  while (true) {
    for (auto it = subfolders.rbegin(); it != subfolders.rend(); ++it) {
      pending.push_back(std::move(*it));
    }
    subfolders.clear();
    if (pending.empty()) break;
    std::string next = std::move(pending.back());
    pending.pop_back();
    ScanFolder(next, false, found, subfolders);
  }
}

}  // namespace orvo

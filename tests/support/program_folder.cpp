#include "tests/support/program_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "desktop/unique_fd.h"

namespace orvo::test {

namespace {

bool CopyFile(const std::string& from, const std::string& to, mode_t mode) {
  UniqueFd in(open(from.c_str(), O_RDONLY | O_CLOEXEC));
  if (!in.Valid()) return false;
  UniqueFd out(open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode & 07777));
  if (!out.Valid()) return false;
  char buffer[65536];
  for (;;) {
    ssize_t n = read(in.Get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) break;
    for (ssize_t done = 0; done < n;) {
      const ssize_t written = write(out.Get(), buffer + done, static_cast<size_t>(n - done));
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) return false;
      done += written;
    }
  }
  return fchmod(out.Get(), mode & 07777) == 0;
}

// Executables beside Orvo_M are the build's test and benchmark programs.
bool SkipOtherPrograms(const std::string& name, bool executable) {
  return executable && name != "Orvo_M";
}

}  // namespace

bool CopyTree(const std::string& from, const std::string& to,
              bool (*skip)(const std::string& name, bool executable)) {
  DIR* dir = opendir(from.c_str());
  if (dir == nullptr) return false;
  std::vector<std::string> names;
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  closedir(dir);

  bool copied = true;
  for (const std::string& name : names) {
    const std::string source = from + "/" + name;
    const std::string target = to + "/" + name;
    struct stat info {};
    if (lstat(source.c_str(), &info) != 0) {
      copied = false;
      continue;
    }
    if (S_ISDIR(info.st_mode)) {
      copied = (mkdir(target.c_str(), info.st_mode & 07777) == 0 || errno == EEXIST) &&
               CopyTree(source, target, skip) && copied;
    } else if (S_ISLNK(info.st_mode)) {
      std::vector<char> link(static_cast<size_t>(info.st_size) + 1);
      const ssize_t n = readlink(source.c_str(), link.data(), link.size());
      copied = n >= 0 && symlink(std::string(link.data(), static_cast<size_t>(n)).c_str(),
                                 target.c_str()) == 0 && copied;
    } else if (S_ISREG(info.st_mode)) {
      if (skip != nullptr && skip(name, (info.st_mode & S_IXUSR) != 0)) continue;
      copied = CopyFile(source, target, info.st_mode) && copied;
    }
  }
  return copied;
}

ProgramFolder::ProgramFolder() : ProgramFolder(ORVO_BIN_DIR) {}

ProgramFolder::ProgramFolder(const std::string& binDir) {
  if (!CopyTree(binDir, dir_.Path(), SkipOtherPrograms)) {
    std::fprintf(stderr, "cannot copy the program folder %s\n", binDir.c_str());
    std::abort();
  }
}

bool ProgramFolder::HasProgram() const { return access(Executable().c_str(), X_OK) == 0; }

}  // namespace orvo::test

#pragma once

#include <ftw.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>

namespace orvo::test {

// A private temporary folder, removed with everything in it (locked folders are opened first).
class ScratchDir {
 public:
  ScratchDir() {
    const char* root = std::getenv("TMPDIR");
    path_ = std::string(root && *root ? root : "/tmp") + "/orvo-test-XXXXXX";
    if (!mkdtemp(path_.data())) throw std::runtime_error("mkdtemp failed");
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  ~ScratchDir() {
    nftw(path_.c_str(), [](const char* p, const struct stat*, int type, FTW*) {
      if (type == FTW_D || type == FTW_DNR) chmod(p, 0700);
      return 0;
    }, 16, FTW_PHYS);
    nftw(path_.c_str(), [](const char* p, const struct stat*, int, FTW*) { return remove(p); }, 16,
         FTW_DEPTH | FTW_PHYS);
  }
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

inline void WriteBytes(const std::string& path, std::string_view bytes) {
  if (!(std::ofstream(path, std::ios::binary) << bytes)) throw std::runtime_error("cannot write " + path);
}

// A whole file; empty (ReadWhole) or "<missing>" (ReadBytes) when it cannot be read.
inline std::string ReadWhole(const std::string& path) {
  std::ostringstream out;
  out << std::ifstream(path, std::ios::binary).rdbuf();
  return out.str();
}
inline std::string ReadBytes(const std::string& path) {
  return std::ifstream(path).good() ? ReadWhole(path) : "<missing>";
}

inline bool Exists(const std::string& path) {
  struct stat st {};
  return lstat(path.c_str(), &st) == 0;
}

// `body` (returning bool) in a forked child, free to change process-wide limits or ids; its
// answer, false when it could not run.
template <typename Body>
bool RunInChild(Body body) {
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) _exit(body() ? 0 : 1);
  int status = 0;
  return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Permission bits do not stop root, so checks of locked files run `body` as "nobody" when the
// tests run as root (the scratch folder must then be open to all).
template <typename Body>
bool RunUnprivileged(Body body) {
  if (geteuid() != 0) return body();
  return RunInChild([&] { return setgroups(0, nullptr) == 0 && setgid(65534) == 0 && setuid(65534) == 0 && body(); });
}

}  // namespace orvo::test

#pragma once

#include <ftw.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>

namespace orvo::test {

// A private temporary folder, removed with everything in it at the end of the test.
class ScratchDir {
 public:
  ScratchDir() {
    const char* base = std::getenv("TMPDIR");
    path_ = std::string(base && *base ? base : "/tmp") + "/orvo-test-XXXXXX";
    if (!mkdtemp(path_.data())) throw std::runtime_error("mkdtemp failed");
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  ~ScratchDir() {
    // Folders a test locked are opened again first, so that their content can go.
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
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
    throw std::runtime_error("cannot write " + path);
  }
}

// A whole file; empty when it cannot be read.
inline std::string ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A whole file, "<missing>" when it cannot be read.
inline std::string ReadBytes(const std::string& path) {
  return std::ifstream(path).good() ? ReadWhole(path) : "<missing>";
}

inline bool Exists(const std::string& path) {
  struct stat st {};
  return lstat(path.c_str(), &st) == 0;
}

// Runs `body` (returning bool) in a forked child, so that it may change process-wide limits or
// ids; its answer, false when it could not run.
template <typename Body>
bool RunInChild(Body body) {
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child < 0) return false;
  if (child == 0) _exit(body() ? 0 : 1);
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return false;
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Permission bits do not stop root, so checks of locked files run `body` under the ids of
// "nobody" when the tests run as root (the scratch folder must then be open to all).
template <typename Body>
bool RunUnprivileged(Body body) {
  if (geteuid() != 0) return body();
  return RunInChild([&body] {
    return setgroups(0, nullptr) == 0 && setgid(65534) == 0 && setuid(65534) == 0 && body();
  });
}

}  // namespace orvo::test

#pragma once

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

// A private temporary folder, removed with everything in it (folders a test locked included).
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
    if (std::system(("chmod -R u+rwx '" + path_ + "' 2>/dev/null; rm -rf '" + path_ + "'").c_str()) != 0) {
      std::fprintf(stderr, "could not remove %s\n", path_.c_str());
    }
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
inline std::string ReadWhole(const std::string& path) { return (std::ostringstream() << std::ifstream(path).rdbuf()).str(); }
inline std::string ReadBytes(const std::string& path) { return std::ifstream(path).good() ? ReadWhole(path) : "<missing>"; }

// `body` (returning bool) run in a forked child, free to change process-wide limits or ids.
template <typename Body>
bool RunInChild(Body body) {
  const pid_t child = fork();  // which leaves by _exit, so that no buffered output is written twice
  if (child == 0) _exit(body() ? 0 : 1);
  int status = 0;
  return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Locked files do not stop root: as root, `body` runs as "nobody" (the scratch folder must be open).
template <typename Body>
bool RunUnprivileged(Body body) {
  if (geteuid() != 0) return body();
  return RunInChild([&] { return setgroups(0, nullptr) == 0 && setgid(65534) == 0 && setuid(65534) == 0 && body(); });
}

}  // namespace orvo::test

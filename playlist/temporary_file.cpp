#include "playlist/temporary_file.h"

#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace orvo {
namespace {

std::string TemporaryFolder() {
  const char* dir = std::getenv("TMPDIR");
  return (dir != nullptr && *dir != '\0') ? dir : "/tmp";
}

// A file system without O_TMPFILE gets a named file that is unlinked at once.
int CreateAndUnlink(const std::string& folder) {
  std::string name = folder + (folder.back() == '/' ? "" : "/") + "orvo-XXXXXX";
  std::vector<char> buffer(name.begin(), name.end());
  buffer.push_back('\0');
  // mkstemp creates the file with mode 600 whatever the umask allows more.
  int fd = mkostemp(buffer.data(), O_CLOEXEC);
  if (fd >= 0) unlink(buffer.data());
  return fd;
}

}  // namespace

TemporaryFile::~TemporaryFile() { Close(); }

TemporaryFile::TemporaryFile(TemporaryFile&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }

TemporaryFile& TemporaryFile::operator=(TemporaryFile&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

bool TemporaryFile::Create() {
  Close();
  std::string folder = TemporaryFolder();
  int fd = open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  if (fd < 0) fd = CreateAndUnlink(folder);
  fd_ = fd;
  return fd_ >= 0;
}

std::string TemporaryFile::ReadPath() const {
  return fd_ >= 0 ? "/proc/self/fd/" + std::to_string(fd_) : std::string();
}

void TemporaryFile::Close() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
}

}  // namespace orvo

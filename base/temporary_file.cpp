#include "base/temporary_file.h"

#include <cstdlib>
#include <unistd.h>
#include <vector>

namespace orvo {

TemporaryFile::~TemporaryFile() { Remove(); }

TemporaryFile::TemporaryFile(TemporaryFile&& other) noexcept
    : path_(std::move(other.path_)), fd_(other.fd_) {
  other.path_.clear();
  other.fd_ = -1;
}

TemporaryFile& TemporaryFile::operator=(TemporaryFile&& other) noexcept {
  if (this != &other) {
    Remove();
    path_ = std::move(other.path_);
    fd_ = other.fd_;
    other.path_.clear();
    other.fd_ = -1;
  }
  return *this;
}

bool TemporaryFile::Create(const std::string& suffix) {
  Remove();
  const char* dir = std::getenv("TMPDIR");
  std::string base = (dir != nullptr && *dir != '\0') ? dir : "/tmp";
  if (base.back() != '/') base += '/';
  std::string name = base + "orvo-XXXXXX" + suffix;
  std::vector<char> buffer(name.begin(), name.end());
  buffer.push_back('\0');
  // mkstemps creates the file with mode 600 whatever the umask allows more.
  int fd = mkstemps(buffer.data(), static_cast<int>(suffix.size()));
  if (fd < 0) return false;
  fd_ = fd;
  path_.assign(buffer.data());
  return true;
}

bool TemporaryFile::Close() {
  if (fd_ < 0) return true;
  int result = close(fd_);
  fd_ = -1;
  return result == 0;
}

void TemporaryFile::Remove() {
  Close();
  if (!path_.empty()) {
    unlink(path_.c_str());
    path_.clear();
  }
}

}  // namespace orvo

#include "base/temporary_file.h"


#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>
#include <vector>

#include "base/write_all.h"

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

// Through the buffer cache, where the kernel cannot copy between the two
// file systems itself.
bool CopyByReading(int from, off_t offset, int to) {
  std::vector<char> buffer(1 << 20);
  for (;;) {
    ssize_t n = pread(from, buffer.data(), buffer.size(), offset);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    if (!WriteAll(to, buffer.data(), static_cast<size_t>(n))) return false;
    offset += n;
  }
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

bool TemporaryFile::CopyFrom(int from) {
  if (fd_ < 0) return false;
  off_t offset = 0;
  for (;;) {
    ssize_t n = copy_file_range(from, &offset, fd_, nullptr, size_t{1} << 30, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n == 0) return true;
    if (n < 0) break;
  }
  // Nothing was copied when the kernel refuses these two files.
  return offset == 0 && CopyByReading(from, 0, fd_);
}

bool TemporaryFile::DateBack() {
  struct timespec times[2];
  clock_gettime(CLOCK_REALTIME, &times[0]);
  times[0].tv_sec -= 24 * 60 * 60;
  times[1] = times[0];
  return fd_ >= 0 && futimens(fd_, times) == 0;
}

void TemporaryFile::Close() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
}

}  // namespace orvo

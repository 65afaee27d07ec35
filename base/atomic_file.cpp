#include "base/atomic_file.h"


#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <new>
#include <random>
#include <vector>

#include "base/write_all.h"

namespace orvo {
namespace {

// Closes a descriptor on every way out of a function.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  // Closes now and reports the result: a write-back error may only show up here.
  bool closeChecked() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

constexpr int kOpenFlags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool FolderIsWritable(const std::string& folder) {
  struct stat st {};
  return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
         ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

// Opens a new, unused file beside `target` (mode 0666 less the umask, like
// any file this process creates). Returns -1 when the folder refuses it.
int CreateTemporaryBeside(const std::string& target, std::string* tempPath) {
  static std::mt19937 generator{std::random_device{}()};
  static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  // Leave room for the suffix within the usual 255-byte name limit.
  const std::string base = BaseNameOf(target).substr(0, 200);
  const std::string folder = FolderOf(target);
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = folder + "/." + base + ".tmp";
    for (int i = 0; i < 8; ++i) name += kLetters[generator() % (sizeof kLetters - 1)];
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd >= 0) {
      *tempPath = name;
      return fd;
    }
    if (errno != EEXIST) return -1;
  }
  return -1;
}

bool WriteReplacing(const std::string& path, std::string_view content, bool mayCreate) {
  if (path.empty()) return false;
  const std::string target = ResolveLinks(path);
  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists) {
    if (!CanWriteExistingFile(target)) return false;
  } else if (!mayCreate || errno != ENOENT) {
    return false;
  }

  std::string tempPath;
  FileDescriptor temp(CreateTemporaryBeside(target, &tempPath));
  if (!temp.valid()) return false;
  bool ok = true;
  if (exists) {
    // Owner first: changing it clears set-id bits that the mode then restores.
    if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
      (void)::fchown(temp.get(), old.st_uid, old.st_gid);
    }
    ok = ::fchmod(temp.get(), old.st_mode & 07777) == 0;
  }
  ok = ok && WriteAll(temp.get(), content.data(), content.size()) && ::fsync(temp.get()) == 0;
  ok = temp.closeChecked() && ok;
  ok = ok && ::rename(tempPath.c_str(), target.c_str()) == 0;
  if (!ok) {
    ::unlink(tempPath.c_str());
    return false;
  }
  // Make the rename itself durable; the data is already safe either way.
  FileDescriptor folder(::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.valid()) (void)::fsync(folder.get());
  return true;
}

}  // namespace

std::string ResolveLinks(const std::string& path) {
  std::string current = path;
  // The same bound the kernel uses for nested links (ELOOP).
  for (int depth = 0; depth < 40; ++depth) {
    struct stat st {};
    if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
    std::vector<char> buffer(256);
    ssize_t n;
    while ((n = ::readlink(current.c_str(), buffer.data(), buffer.size())) >= 0 &&
           static_cast<size_t>(n) == buffer.size()) {
      buffer.resize(buffer.size() * 2);
    }
    if (n <= 0) return current;
    std::string link(buffer.data(), static_cast<size_t>(n));
    if (link[0] == '/' || current.find('/') == std::string::npos) {
      current = link;
    } else {
      current = current.substr(0, current.rfind('/') + 1) + link;
    }
  }
  return path;
}

bool CanWriteExistingFile(const std::string& path) {
  FileDescriptor fd(::open(path.c_str(), O_WRONLY | kOpenFlags));
  struct stat st {};
  return fd.valid() && ::fstat(fd.get(), &st) == 0 && S_ISREG(st.st_mode) &&
         FolderIsWritable(FolderOf(ResolveLinks(path)));
}

bool CanCreateFile(const std::string& path) {
  if (path.empty()) return false;
  const std::string target = ResolveLinks(path);
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0) return CanWriteExistingFile(target);
  return errno == ENOENT && FolderIsWritable(FolderOf(target));
}

bool WriteFileAtomically(const std::string& path, std::string_view content) {
  return WriteReplacing(path, content, true);
}

bool ReplaceFileAtomically(const std::string& path, std::string_view content) {
  return WriteReplacing(path, content, false);
}

namespace {

// The content of the open regular file `fd` of `size` bytes (as fstat saw
// it), or nothing. Files in /proc report 0 and files may grow meanwhile, so
// the bound holds for what is read, not only for the size.
std::optional<std::string> ReadBounded(int fd, off_t size) {
  if (size < 0 || static_cast<uint64_t>(size) > kMaxReadBytes) return std::nullopt;
  try {
    std::string content;
    content.reserve(static_cast<size_t>(size));
    char chunk[65536];
    for (;;) {
      const ssize_t n = ::read(fd, chunk, sizeof chunk);
      if (n == 0) return content;
      if (n < 0) {
        if (errno == EINTR) continue;
        return std::nullopt;
      }
      if (content.size() + static_cast<size_t>(n) > kMaxReadBytes) return std::nullopt;
      content.append(chunk, static_cast<size_t>(n));
    }
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

}  // namespace

std::optional<std::string> ReadRegularFile(const std::string& path, bool* writable) {
  if (writable) *writable = false;
  int raw = -1;
  if (writable) {
    raw = ::open(path.c_str(), O_RDWR | kOpenFlags);
    *writable = raw >= 0;
  }
  if (raw < 0) raw = ::open(path.c_str(), O_RDONLY | kOpenFlags);
  FileDescriptor fd(raw);
  struct stat st {};
  std::optional<std::string> content;
  if (fd.valid() && ::fstat(fd.get(), &st) == 0 && S_ISREG(st.st_mode)) {
    content = ReadBounded(fd.get(), st.st_size);
  }
  // Writing back what could not be read would lose the file's content.
  if (!content && writable) *writable = false;
  return content;
}

}  // namespace orvo

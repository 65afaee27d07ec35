#include "mediainfo/file_byte_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace orvo {

FileByteSource::~FileByteSource() {
  if (fd_ >= 0) close(fd_);
}

bool FileByteSource::Open(const std::string& path) {
  // O_NONBLOCK keeps the open of a FIFO from waiting for a writer; the
  // type check below then refuses it.
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return false;
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return false;
  }
  if (fd_ >= 0) close(fd_);
  fd_ = fd;
  size_ = static_cast<uint64_t>(st.st_size);
  for (Block& block : blocks_) block.lastUse = 0;
  return true;
}

size_t FileByteSource::ReadFile(uint64_t offset, uint8_t* out, size_t count) {
  size_t done = 0;
  while (done < count) {
    ++readCalls_;
    const ssize_t got = pread(fd_, out + done, count - done, static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<size_t>(got);
  }
  return done;
}

FileByteSource::Block& FileByteSource::BlockFor(uint64_t offset) {
  for (Block& block : blocks_) {
    if (block.lastUse != 0 && offset >= block.start && offset < block.start + block.length) {
      return block;
    }
  }
  Block& victim = blocks_[0].lastUse <= blocks_[1].lastUse ? blocks_[0] : blocks_[1];
  victim.start = offset;
  // Asking only for what the file holds spares the read that reports its end.
  const size_t wanted = static_cast<size_t>(std::min<uint64_t>(victim.bytes.size(), size_ - offset));
  victim.length = ReadFile(offset, victim.bytes.data(), wanted);
  victim.lastUse = ++useCounter_;  // marks the block filled even when empty
  return victim;
}

size_t FileByteSource::ReadAt(uint64_t offset, uint8_t* out, size_t count) {
  if (fd_ < 0 || offset >= size_) return 0;
  count = static_cast<size_t>(std::min<uint64_t>(count, size_ - offset));
  if (count >= kBlockSize) return ReadFile(offset, out, count);
  size_t done = 0;
  while (done < count) {
    Block& block = BlockFor(offset + done);
    block.lastUse = ++useCounter_;
    const uint64_t inside = offset + done - block.start;
    if (inside >= block.length) break;  // the file ended early (shrunk or read error)
    const size_t n = std::min<size_t>(count - done, block.length - static_cast<size_t>(inside));
    std::memcpy(out + done, block.bytes.data() + inside, n);
    done += n;
  }
  return done;
}

}  // namespace orvo

#pragma once

#include <string>

namespace orvo {

// A private file (mode 600) in $TMPDIR, or /tmp when that is unset, that is
// removed when its owner goes. Used for decoded audio handed to the player.
class TemporaryFile {
 public:
  TemporaryFile() = default;
  ~TemporaryFile();
  TemporaryFile(TemporaryFile&& other) noexcept;
  TemporaryFile& operator=(TemporaryFile&& other) noexcept;
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  // Creates a new file named "orvo-XXXXXX<suffix>"; false (and nothing
  // created) on failure. Replaces (and removes) any file held before.
  bool Create(const std::string& suffix);
  bool IsOpen() const { return fd_ >= 0; }
  const std::string& Path() const { return path_; }
  // Open for reading and writing until Close or destruction.
  int Descriptor() const { return fd_; }
  // Closes the descriptor; the file stays until Remove or destruction.
  bool Close();
  void Remove();

 private:
  std::string path_;
  int fd_ = -1;
};

}  // namespace orvo

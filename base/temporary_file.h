#pragma once

#include <string>

namespace orvo {

// A private file (mode 600) without a name in $TMPDIR, or /tmp when that is
// unset. Having no name, it goes with its last descriptor, however the
// program ends: nothing is left behind even when the player is killed. Other
// code (libxine) opens it anew through ReadPath.
class TemporaryFile {
 public:
  TemporaryFile() = default;
  ~TemporaryFile();
  TemporaryFile(TemporaryFile&& other) noexcept;
  TemporaryFile& operator=(TemporaryFile&& other) noexcept;
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  // Creates a new, empty file; false (and nothing created) on failure.
  // Replaces any file held before.
  bool Create();
  bool IsOpen() const { return fd_ >= 0; }
  // Open for reading and writing until Close or destruction.
  int Descriptor() const { return fd_; }
  // "/proc/self/fd/N": opens this file anew while it is held; empty when
  // none is.
  std::string ReadPath() const;
  // Appends the whole content of the regular file open as `from`, read from
  // its start without moving its offset. False when reading or writing fails.
  bool CopyFrom(int from);
  // Sets the modification time a day back.
  bool DateBack();
  // Closes the descriptor, and with it the file.
  void Close();

 private:
  int fd_ = -1;
};

}  // namespace orvo

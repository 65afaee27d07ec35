#pragma once

#include <string>

namespace orvo::test {

// A fresh private folder (mkdtemp under $TMPDIR or /tmp) that is removed
// with everything in it when the object goes. Symbolic links inside are
// removed, never followed.
class TempDir {
 public:
  explicit TempDir(const std::string& prefix = "orvo-test");
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The folder, without a trailing "/".
  const std::string& Path() const { return path_; }
  // Path() + "/" + relative.
  std::string File(const std::string& relative) const { return path_ + "/" + relative; }

  // Writes `bytes` to File(relative), creating missing folders; aborts the
  // test program when that fails, since no test could go on.
  std::string Write(const std::string& relative, const std::string& bytes) const;
  // Makes the folder File(relative) and its parents.
  std::string MakeFolder(const std::string& relative) const;

 private:
  std::string path_;
};

// Removes `path` and, for a folder, everything below it. Returns false when
// something could not be removed.
bool RemoveTree(const std::string& path);
// Makes the folder `path` and its parents (mode 0755); true when it exists.
bool MakeFolders(const std::string& path);
// Reads a whole file; empty when it cannot be read.
std::string ReadFile(const std::string& path);

}  // namespace orvo::test

#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace orvo {

// An ordered list of paths with a cursor shared by every walk over it.
// The cursor is either on one entry or "none" (before the first entry).
// Positions are 0-based.
class PathList {
 public:
  static constexpr std::ptrdiff_t kNone = -1;

  std::size_t count() const { return paths_.size(); }
  bool empty() const { return paths_.empty(); }
  void clear();
  // Inserts directly after the cursor entry (at the front when the cursor is
  // none) and moves the cursor onto the new entry.
  void add(const std::string& path);
  void reset() { cursor_ = kNone; }
  bool next();
  bool previous();
  void first();
  void last();
  // Moves the cursor to position i; out-of-range positions leave it unchanged
  // and return false.
  bool select(std::size_t i);
  // 0-based cursor position, kNone without a cursor entry.
  std::ptrdiff_t index() const { return cursor_; }
  bool hasCursor() const { return cursor_ != kNone; }
  // The cursor entry's path; only valid while hasCursor().
  const std::string& current() const { return paths_[static_cast<std::size_t>(cursor_)]; }
  // Replaces the cursor entry's path (playback empties refused entries).
  void setCurrent(const std::string& path);
  // Stable sort by path, bytes compared with ASCII letters folded (strcasecmp).
  void sort();
  // Appends at the end without moving the cursor.
  void append(const std::string& path) { paths_.push_back(path); }
  // Appends every path, or none when memory runs out (std::bad_alloc).
  void append(std::vector<std::string> paths);

  const std::vector<std::string>& paths() const { return paths_; }
  const std::string& at(std::size_t i) const { return paths_[i]; }

 private:
  std::vector<std::string> paths_;
  std::ptrdiff_t cursor_ = kNone;
};

// The one list of songs the player works on. An empty filePath with entries
// means the list was never loaded from or saved to a file (unsaved).
class CurrentPlaylist : public PathList {
 public:
  std::string filePath;
};

}  // namespace orvo

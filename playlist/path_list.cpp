#include "playlist/path_list.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "base/ascii.h"

namespace orvo {
namespace {

}  // namespace

void PathList::clear() {
  paths_.clear();
  cursor_ = kNone;
}

void PathList::append(std::vector<std::string> paths) {
  // Only the reserve may throw; moving strings into reserved room does not.
  paths_.reserve(paths_.size() + paths.size());
  std::move(paths.begin(), paths.end(), std::back_inserter(paths_));
}

void PathList::add(const std::string& path) {
  const std::ptrdiff_t position = cursor_ + 1;  // kNone + 1 is the front
  paths_.insert(paths_.begin() + position, path);
  cursor_ = position;
}

bool PathList::next() {
  if (cursor_ + 1 >= static_cast<std::ptrdiff_t>(paths_.size())) return false;
  ++cursor_;
  return true;
}

bool PathList::previous() {
  if (cursor_ <= 0) return false;
  --cursor_;
  return true;
}

void PathList::first() { cursor_ = paths_.empty() ? kNone : 0; }

void PathList::last() { cursor_ = static_cast<std::ptrdiff_t>(paths_.size()) - 1; }

bool PathList::select(std::size_t i) {
  if (i >= paths_.size()) return false;
  cursor_ = static_cast<std::ptrdiff_t>(i);
  return true;
}

void PathList::setCurrent(const std::string& path) {
  if (hasCursor()) paths_[static_cast<std::size_t>(cursor_)] = path;
}

void PathList::sort() {
  // The cursor stays on the entry it was on, wherever that lands.
  std::vector<std::size_t> order(paths_.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
    return LessIgnoringAsciiCase(paths_[a], paths_[b]);
  });
  std::vector<std::string> sorted;
  sorted.reserve(paths_.size());
  std::ptrdiff_t cursor = kNone;
  for (std::size_t i = 0; i < order.size(); ++i) {
    if (static_cast<std::ptrdiff_t>(order[i]) == cursor_) cursor = static_cast<std::ptrdiff_t>(i);
    sorted.push_back(std::move(paths_[order[i]]));
  }
  paths_ = std::move(sorted);
  cursor_ = cursor;
}

}  // namespace orvo

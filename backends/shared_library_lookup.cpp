#include "backends/shared_library_lookup.h"

#include <unistd.h>

#include <cerrno>
#include <optional>
#include <string_view>
#include <vector>

#include "base/child_process.h"

namespace orvo {

namespace {

// The lines `ls folder | grep -i -F -e name` prints, without their line
// feeds; empty when a tool cannot be started or nothing matched. Both
// children are ended and reaped on every way out (ChildProcess).
std::vector<std::string> ListMatches(const std::string& folder, const std::string& name) {
  std::vector<std::string> lines;
  std::optional<ChildProcess> ls = ChildProcess::Start({"ls", folder}, -1);
  if (!ls) return lines;
  // -F: the name is a plain substring, not a pattern ("." in
  // "libgdk_pixbuf-2.0.so" would match any character); -e: a name that
  // starts with "-" is no option.
  std::optional<ChildProcess> grep = ChildProcess::Start({"grep", "-i", "-F", "-e", name}, ls->Output());
  if (!grep) return lines;
  // grep holds its own copy of the listing pipe; dropping ours lets ls see
  // a closed pipe once grep has gone.
  ls->TakeOutput();

  std::string pending;
  char buffer[4096];
  for (;;) {
    const ssize_t n = read(grep->Output(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    pending.append(buffer, static_cast<size_t>(n));
    size_t start = 0;
    for (size_t end; (end = pending.find('\n', start)) != std::string::npos; start = end + 1) {
      lines.emplace_back(pending, start, end - start);
    }
    pending.erase(0, start);
  }
  if (!pending.empty()) lines.push_back(pending);
  return lines;
}

// A file name counts as a shared object when its extension (after the last
// ".", unless a "/" follows it) is exactly "so" or when it holds ".so.".
bool IsSharedObjectName(std::string_view field) {
  if (field.find(".so.") != std::string_view::npos) return true;
  const size_t dot = field.rfind('.');
  if (dot == std::string_view::npos) return false;
  const std::string_view extension = field.substr(dot + 1);
  return extension.find('/') == std::string_view::npos && extension == "so";
}

std::string_view TrimBlanks(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

}  // namespace

std::string FindLibraryFileIn(const std::string& name, const std::string& firstFolder,
                              const std::string& secondFolder) {
  // A listing holds bare file names, which never contain "/", so such a
  // name cannot match in any folder. Start-up asks for a full path, and
  // answering it without starting four processes keeps those off the way
  // to the first window.
  if (name.find('/') != std::string::npos) return {};
  // Empty lines never count as names, so a listing of only empty lines is
  // as good as none (the second folder is searched then).
  auto hasName = [](const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
      if (!line.empty()) return true;
    }
    return false;
  };
  std::string folder = firstFolder;
  std::vector<std::string> lines = ListMatches(firstFolder, name);
  if (!hasName(lines)) {
    folder = secondFolder;
    lines = ListMatches(secondFolder, name);
    if (!hasName(lines)) return {};
  }
  // Each line is one file name; a name holding "|" or blanks stays whole.
  std::string_view chosen;
  for (const std::string& line : lines) {
    if (IsSharedObjectName(line)) chosen = TrimBlanks(line);
  }
  return folder + "/" + std::string(chosen);
}

std::string FindLibraryFile(const std::string& name) {
  return FindLibraryFileIn(name, "/lib", "/usr/lib");
}

}  // namespace orvo

#include "playlist/m3u.h"

#include <new>
#include <optional>

#include "base/atomic_file.h"
#include "base/file_name.h"
#include "playlist/path_list.h"

namespace orvo {

std::vector<std::string> ParseM3u(std::string_view text) {
  std::vector<std::string> paths;
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t end = text.find_first_of(std::string_view("\r\n\0", 3), pos);
    const size_t lineEnd = end == std::string_view::npos ? text.size() : end;
    // The empty "line" between CR and LF is skipped like any empty line,
    // so CR LF needs no case of its own.
    if (lineEnd > pos) paths.emplace_back(text.substr(pos, lineEnd - pos));
    pos = lineEnd + 1;
  }
  return paths;
}

bool ReadM3u(const std::string& path, PathList& list) {
  const std::optional<std::string> content = ReadRegularFile(path);
  if (!content) return false;
  // Within the read bound a file can still hold more lines than memory
  // takes (millions of one-byte lines); it then counts as unreadable.
  try {
    list.append(ParseM3u(*content));
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

bool WriteM3u(const std::string& path, const std::vector<std::string>& paths) {
  std::string content;
  for (const std::string& entry : paths) {
    content += entry;
    content += '\n';
  }
  return WriteFileAtomically(path, content);
}

std::string WithM3uExtension(const std::string& name) {
  return LowerExtension(name) == "m3u" ? name : name + ".m3u";
}

}  // namespace orvo

#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvo {

class PathList;

// Playlist files: one path per line, taken byte for byte. There is no header
// and no comment syntax ("#EXTM3U" is a path like any other) and no
// character-set conversion.

// The paths of M3U text in file order. Lines end at LF, CR, CR LF (counted
// once), a NUL byte (dropped) or the end of the text; empty lines are
// skipped; blanks stay part of the path.
std::vector<std::string> ParseM3u(std::string_view text);

// Appends the paths of the playlist file at `path` to `list` without moving
// its cursor. False when the file cannot be read (then nothing is added).
bool ReadM3u(const std::string& path, PathList& list);

// Writes each path followed by LF (an empty path gives an empty line),
// replacing the file as a whole. False when it could not be written; an old
// file then stays intact.
[[nodiscard]] bool WriteM3u(const std::string& path, const std::vector<std::string>& paths);

// The name a playlist chosen in a save chooser is written under: ".m3u" is
// appended unless the file name already ends in that extension in any
// letter case.
std::string WithM3uExtension(const std::string& name);

}  // namespace orvo

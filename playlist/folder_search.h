#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvo {

// True when `fileName` ends in a music extension: "mp3", "mpc", "wav" or
// "ogg" in any letter case for files directly in the chosen folder; "mpc" is
// not accepted deeper down (`inChosenFolder` false). The extension is the text
// after the last "."; a name without "." has none.
bool IsMusicFileName(std::string_view fileName, bool inChosenFolder);

// Appends to `found` the music files of the folder tree at `folder` (which
// must end with "/"), each as folder path + entry name. The chosen folder's
// own files come first, in the order the file system lists them; then its
// subfolders are walked depth-first in pre-order, each folder's files before
// its subfolders. Entries are examined without following symbolic links, so a
// link to a folder counts as a file and is never entered. Entries that cannot
// be examined and folders that cannot be opened are left out silently.
void FindMusicFiles(const std::string& folder, std::vector<std::string>& found);

}  // namespace orvo

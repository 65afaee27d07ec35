#include "mediainfo/description.h"

#include <algorithm>

namespace orvo {

std::string DescriptionText(const std::string& path, const SongInfo& info) {
  if (info.artist == kNoInformation || (info.artist.empty() && info.title.empty())) {
    std::string text = path;
    std::replace(text.begin(), text.end(), '&', '+');
    return text;
  }
  return info.artist + " \n" + info.title + " \n" + info.album + " ";
}

std::string DescribeSong(const std::string& path, SongInfo& record) {
  record.clear();
  ReadSongInfo(path, record);
  return DescriptionText(path, record);
}

}  // namespace orvo

#pragma once

#include <string>

#include "mediainfo/song_info.h"

namespace orvo {

// The description from already read fields: three lines "artist \n title \n
// album " or, without information, the path with "&" replaced by "+".
std::string DescriptionText(const std::string& path, const SongInfo& info);

// Empties `record`, analyses the file into it and builds the text.
std::string DescribeSong(const std::string& path, SongInfo& record);

}  // namespace orvo

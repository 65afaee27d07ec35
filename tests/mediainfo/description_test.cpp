#include "mediainfo/description.h"

#include <gtest/gtest.h>


namespace orvo::test {
namespace {

// Three lines ending in blanks, or without artist and title (or after an invalid header) the path
// with "+" for "&".
TEST(DescriptionText, Fields_ThreeLinesElseThePath) {
  const std::pair<SongInfo, const char*> rows[] = {
      {{"Art & Co", "Title", "Album"}, "Art & Co \nTitle \nAlbum "}, {{"", "Title", ""}, " \nTitle \n "},
      {{"Artist", "", ""}, "Artist \n \n "}, {{"", "", "Album"}, "/m/R+B/a+b.mp3"},
      {{kNoInformation, "Title", "Album"}, "/m/R+B/a+b.mp3"}};
  for (const auto& [info, text] : rows) EXPECT_EQ(DescriptionText("/m/R&B/a&b.mp3", info), text);
}

}  // namespace
}  // namespace orvo::test

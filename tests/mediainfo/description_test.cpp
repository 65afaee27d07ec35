#include "mediainfo/description.h"

#include <gtest/gtest.h>

#include "tests/mediainfo/song_bytes.h"
#include "tests/support/scratch_dir.h"

namespace orvo::test {
namespace {

TEST(DescriptionText, Fields_ThreeLinesEndingInBlanksElsePathWithPlusForAmpersand) {
  const std::pair<SongInfo, const char*> rows[] = {
      {{"Art & Co", "Title", "Album"}, "Art & Co \nTitle \nAlbum "},
      {{"", "Title", ""}, " \nTitle \n "}, {{"Artist", "", ""}, "Artist \n \n "},
      {{"", "", "Album"}, "/m/R+B/a+b.mp3"}, {{kNoInformation, "Title", "Album"}, "/m/R+B/a+b.mp3"}};
  for (const auto& [info, text] : rows) EXPECT_EQ(DescriptionText("/m/R&B/a&b.mp3", info), text);
}

// The record is emptied before each song, so that an untagged song shows no stale fields.
TEST(DescribeSong, EachSong_ReadIntoAnEmptiedRecord) {
  ScratchDir dir;
  const Bytes tagged = Audio() + Id3v1("Title", "Artist", "Album");
  WriteBytes(dir.file("tagged.mp3"), std::string(tagged.begin(), tagged.end()));
  WriteBytes(dir.file("plain & simple.mp3"), "\xFF\xFB\x90\x64");
  SongInfo record;
  EXPECT_EQ(DescribeSong(dir.file("tagged.mp3"), record), "Artist \nTitle \nAlbum ");
  EXPECT_EQ(DescribeSong(dir.file("plain & simple.mp3"), record), dir.file("plain + simple.mp3"));
  EXPECT_EQ(record.artist + record.title + record.album, "");
}

}  // namespace
}  // namespace orvo::test

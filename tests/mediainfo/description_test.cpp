#include "mediainfo/description.h"

#include <gtest/gtest.h>

#include "song_bytes.h"

namespace orvo::test {
namespace {

TEST(DescriptionText, Fields_ThreeLinesEachEndingWithSpaceElsePathWithPlusForAmpersand) {
  EXPECT_EQ(DescriptionText("/m/a.mp3", {"Art & Co", "Title", "Album"}), "Art & Co \nTitle \nAlbum ");
  EXPECT_EQ(DescriptionText("/m/a.mp3", {"Artist", "Title", ""}), "Artist \nTitle \n ");
  EXPECT_EQ(DescriptionText("/m/a.mp3", {"", "Title", ""}), " \nTitle \n ");
  EXPECT_EQ(DescriptionText("/m/a.mp3", {"Artist", "", ""}), "Artist \n \n ");
  // Without artist and title, or with the invalid-song marker: the path.
  EXPECT_EQ(DescriptionText("/m/R&B/a&b.mp3", {"", "", "Album"}), "/m/R+B/a+b.mp3");
  EXPECT_EQ(DescriptionText("/m/a&b.mp3", {kNoInformation, "Title", "Album"}), "/m/a+b.mp3");
}

TEST(DescribeSong, RecordEmptiedBeforeEachAnalysis) {
  TempFolder folder;
  SongInfo record;
  const std::string tagged = folder.Write("tagged.mp3", Audio() + Id3v1("Title", "Artist", "Album"));
  const std::string plain = folder.Write("plain & simple.mp3", Audio());
  EXPECT_EQ(DescribeSong(tagged, record), "Artist \nTitle \nAlbum ");
  // The previous song's fields must not leak into an untagged one.
  EXPECT_EQ(DescribeSong(plain, record), folder.path() + "/plain + simple.mp3");
  EXPECT_EQ(record.artist, "");
}

TEST(DescribeSong, UnreadableOrInvalidSong_ShownByPath) {
  TempFolder folder;
  SongInfo record;
  const std::string missing = folder.path() + "/gone & lost.mp3";
  EXPECT_EQ(DescribeSong(missing, record), folder.path() + "/gone + lost.mp3");

  const std::string invalid =
      folder.Write("bad.mp3", Bytes{255, 251, 156, 0} + Zeros(40) + Id3v1("Title", "Artist", "Album"));
  EXPECT_EQ(DescribeSong(invalid, record), invalid);
}

}  // namespace
}  // namespace orvo::test

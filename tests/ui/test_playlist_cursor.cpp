// The four cursor buttons on first, last and emptied entries.
#include "ui/playlist_cursor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "playlist/path_list.h"
#include "tests/ui/recording_actions.h"

namespace orvo {
namespace {

class PlaylistCursorTest : public ::testing::Test {
 protected:
  void Fill(std::initializer_list<const char*> paths) {
    for (const char* path : paths) playlist_.append(path);
  }
  CurrentPlaylist playlist_;
  RecordingActions actions_;
  PlaylistCursor cursor_{playlist_, actions_};
};

TEST_F(PlaylistCursorTest, AllHandlers_EmptyList_NothingPlays) {
  cursor_.PlayFirstSong();
  cursor_.PlayPreviousSong();
  cursor_.PlayNextSong();
  cursor_.PlayLastSong();
  EXPECT_TRUE(actions_.calls.empty());
  EXPECT_FALSE(playlist_.hasCursor());
}

TEST_F(PlaylistCursorTest, FirstAndLast_PlayEnds) {
  Fill({"a.mp3", "b.mp3", "c.mp3"});
  cursor_.PlayLastSong();
  cursor_.PlayFirstSong();
  EXPECT_EQ(actions_.calls, (std::vector<std::string>{"PlaySong c.mp3", "PlaySong a.mp3"}));
  EXPECT_EQ(playlist_.index(), 0);
}

TEST_F(PlaylistCursorTest, Previous_OnFirstRestartsIt_WithoutCursorNothing) {
  Fill({"a.mp3", "b.mp3"});
  cursor_.PlayPreviousSong();
  EXPECT_TRUE(actions_.calls.empty());
  EXPECT_FALSE(playlist_.hasCursor());

  playlist_.select(1);
  cursor_.PlayPreviousSong();
  cursor_.PlayPreviousSong();
  EXPECT_EQ(actions_.calls, (std::vector<std::string>{"PlaySong a.mp3", "PlaySong a.mp3"}));
  EXPECT_EQ(playlist_.index(), 0);
}

TEST_F(PlaylistCursorTest, Next_WithoutCursorPlaysFirst_OnLastRestartsIt) {
  Fill({"a.mp3", "b.mp3"});
  cursor_.PlayNextSong();
  cursor_.PlayNextSong();
  cursor_.PlayNextSong();
  EXPECT_EQ(actions_.calls,
            (std::vector<std::string>{"PlaySong a.mp3", "PlaySong b.mp3", "PlaySong b.mp3"}));
  EXPECT_EQ(playlist_.index(), 1);
}

TEST_F(PlaylistCursorTest, AllHandlers_EmptiedEntry_CursorMovesButNothingPlays) {
  Fill({"", "b.mp3", ""});
  cursor_.PlayFirstSong();
  EXPECT_EQ(playlist_.index(), 0);
  cursor_.PlayNextSong();
  EXPECT_EQ(playlist_.index(), 1);
  cursor_.PlayLastSong();
  EXPECT_EQ(playlist_.index(), 2);
  cursor_.PlayNextSong();  // stays on the emptied last entry
  cursor_.PlayPreviousSong();
  cursor_.PlayPreviousSong();  // onto the emptied first entry
  EXPECT_EQ(playlist_.index(), 0);
  EXPECT_EQ(actions_.calls, (std::vector<std::string>{"PlaySong b.mp3", "PlaySong b.mp3"}));
}

}  // namespace
}  // namespace orvo

#include <gtest/gtest.h>

#include "playback_doubles.h"

namespace orvo::test {
namespace {

TEST(RotateFirstCharacter, Texts_MoveOneWholeCharacter) {
  EXPECT_EQ(RotateFirstCharacter("abc"), "bca");
  EXPECT_EQ(RotateFirstCharacter("bca"), "cab");
  EXPECT_EQ(RotateFirstCharacter(" - x"), "- x ");
  EXPECT_EQ(RotateFirstCharacter(""), "");
  EXPECT_EQ(RotateFirstCharacter("\xC3\xA9t\xC3\xA9"), "t\xC3\xA9\xC3\xA9");       // é
  EXPECT_EQ(RotateFirstCharacter("\xE2\x82\xAC!"), "!\xE2\x82\xAC");              // €
  EXPECT_EQ(RotateFirstCharacter("\xF0\x9F\x8E\xB5x"), "x\xF0\x9F\x8E\xB5");      // 4 bytes
  // Broken sequences move byte by byte and never take the next character.
  EXPECT_EQ(RotateFirstCharacter("\xC3" "ab"), "ab\xC3");
  EXPECT_EQ(RotateFirstCharacter("\xA9" "ab"), "ab\xA9");
  EXPECT_EQ(RotateFirstCharacter("\xE2\x82"), "\xE2\x82");
}

TEST(DisplayLine, DescriptionsAndFileNames_BecomeOneLineEndingInDash) {
  EXPECT_EQ(DisplayLine("A \nT \nL "), "A  - T  - L  - ");
  EXPECT_EQ(DisplayLine("/music/x.mp3"), "/music/x.mp3 - ");
  EXPECT_EQ(DisplayLine("a\rb"), "a - b - ");
  EXPECT_EQ(FileNamePart("/music/x.mp3"), "x.mp3");
  EXPECT_EQ(FileNamePart("x.mp3"), "x.mp3");
  EXPECT_EQ(FileNamePart("/music/"), "");
  EXPECT_EQ(TitleTimerPeriodMs(3), 300);
  EXPECT_EQ(TitleTimerPeriodMs(0), 100);
  EXPECT_EQ(TitleTimerPeriodMs(-5), 100);
  EXPECT_EQ(TitleTimerPeriodMs(25), 1000);
}

TEST(TitleTimer, Latin1Description_ScrollsOneCharacterPerTickAndComesRound) {
  PlaybackHarness h;
  h.settings.cycle_time = 1;
  const auto songs = h.MakeSongs(1, 2500);
  h.Fill(songs);
  h.descriptions[songs[0]] = "Caf\xE9 \n\xC9t\xE9 \nA ";
  const std::string start = "Caf\xC3\xA9  - \xC3\x89t\xC3\xA9  - A  - ";
  const std::size_t characters = 20;
  h.loop.At(50, [&] {
    EXPECT_EQ(h.view.display, start);
    h.view.displayHistory.clear();
  });

  EXPECT_TRUE(h.playback.StartPlayback());

  // Each tick moves one whole character (see above) and comes round after all
  // twenty.
  const auto& seen = h.view.displayHistory;
  ASSERT_GE(seen.size(), characters + 1);
  EXPECT_EQ(seen[3], "  - \xC3\x89t\xC3\xA9  - A  - Caf\xC3\xA9");
  std::string expected = start;
  for (std::size_t i = 0; i < characters; ++i) {
    expected = RotateFirstCharacter(expected);
    EXPECT_EQ(seen[i], expected) << "tick " << i + 1;
    EXPECT_EQ(seen[i] == start, i + 1 == characters) << "tick " << i + 1;
  }
}

TEST(TogglePause, PauseAndResume_ShowMarkerThenTextSavedAtPause) {
  PlaybackHarness h;
  h.settings.cycle_time = 1;
  const auto songs = h.MakeSongs(2, 1000);
  h.Fill(songs);
  h.descriptions[songs[0]] = "One \nTwo \n ";
  std::string beforePause;
  h.loop.At(450, [&] {
    beforePause = h.view.display;
    h.nowPlaying.TogglePause();
    EXPECT_EQ(h.view.display, kPausedMarker);
    EXPECT_EQ(h.nowPlaying.pausedText(), beforePause);
  });
  h.loop.At(2450, [&] {
    // Paused for two seconds: the song is not over and the marker scrolls.
    EXPECT_EQ(h.engine.played.size(), 1U);
    EXPECT_EQ(h.engine.Status(), -1);
    EXPECT_NE(h.view.display, kPausedMarker);
    EXPECT_EQ(h.view.display.size(), std::string(kPausedMarker).size());
    h.nowPlaying.TogglePause();
    EXPECT_EQ(h.view.display, beforePause);
    EXPECT_EQ(h.engine.Status(), 1);
  });

  EXPECT_TRUE(h.playback.StartPlayback());

  EXPECT_EQ(h.engine.played, songs);
  EXPECT_GE(h.loop.now(), 3000);
  // With the song ended, or no song at all, the button does nothing.
  h.engine.calls.clear();
  h.nowPlaying.TogglePause();
  h.RunFor(500);
  h.nowPlaying.TogglePause();
  EXPECT_EQ(h.engine.calls, (std::vector<std::string>{"Release"}));
}

TEST(TitleTimer, CycleTitleZero_ShowsFileNameFromFirstTickEvenOverMarker) {
  PlaybackHarness h;
  h.settings.cycle_title = 0;
  const std::string song = h.folder.File("plain & simple.mp3");
  h.Fill({song});
  h.loop.At(100, [&] { EXPECT_EQ(h.view.display, song + " - "); });
  h.loop.At(400, [&] { EXPECT_EQ(h.view.display, "plain & simple.mp3 - "); });
  h.loop.At(500, [&] {
    h.nowPlaying.TogglePause();
    EXPECT_EQ(h.view.display, kPausedMarker);
  });
  h.loop.At(700, [&] {
    EXPECT_EQ(h.view.display, "plain & simple.mp3 - ");
    h.nowPlaying.TogglePause();
    EXPECT_EQ(h.view.display, "plain & simple.mp3 - ");
  });
  EXPECT_TRUE(h.playback.StartPlayback());
  EXPECT_EQ(h.engine.played, (std::vector<std::string>{song}));
}

TEST(TitleTimer, CycleTitleMinusOne_RemovesItselfAndNeverAnnounces) {
  PlaybackHarness h;
  h.settings.cycle_title = -1;
  const auto songs = h.MakeSongs(2, 1000);
  h.Fill(songs);
  EXPECT_TRUE(h.playback.StartPlayback());
  h.RunFor(2000);
  EXPECT_FALSE(h.nowPlaying.TitleTimerActive());
  EXPECT_EQ(h.loop.activeTimers(), 0U);
  EXPECT_EQ(h.view.displayHistory, (std::vector<std::string>{songs[0] + " - ", songs[1] + " - "}));
  EXPECT_EQ(h.Announcements(), 0);
}

TEST(TitleTimer, HandEditedSettings_GetSafeMeanings) {
  PlaybackHarness h;
  h.settings.cycle_title = 7;  // scrolls
  h.settings.cycle_time = 0;   // fastest allowed period, never a busy timer
  h.settings.randomplay = 2;   // random
  const auto songs = h.MakeSongs(4, 1000);
  h.Fill(songs);
  h.loop.At(250, [&] {
    EXPECT_EQ(h.view.display, RotateFirstCharacter(RotateFirstCharacter(h.playlist.current() + " - ")));
  });
  EXPECT_TRUE(h.playback.StartPlayback());
  EXPECT_EQ(h.engine.played.size(), 1U);
  EXPECT_EQ(h.loop.periodsAdded().front(), 100);
}

}  // namespace
}  // namespace orvo::test

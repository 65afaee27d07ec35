// The display over a song's life: scrolling, pausing, the file name, the end of the playlist.
#include "playback/now_playing.h"

#include <gtest/gtest.h>

#include "tests/playback/playback_doubles.h"

namespace orvo::test {
namespace {

// A character is a lead byte with its continuation bytes; broken sequences move byte by byte
// and never take the next character along.
TEST(RotateFirstCharacter, Texts_OneWholeCharacterMovesToTheEnd) {
  const char* rows[][2] = {{"abc", "bca"}, {" - x", "- x "}, {"", ""}, {"\xC3\xA9t", "t\xC3\xA9"},
                           {"\xE2\x82\xAC!", "!\xE2\x82\xAC"}, {"\xF0\x9F\x8E\xB5x", "x\xF0\x9F\x8E\xB5"},
                           {"\xC3" "ab", "ab\xC3"}, {"\xA9" "ab", "ab\xA9"}, {"\xE2\x82", "\xE2\x82"}};
  for (const auto& r : rows) EXPECT_EQ(RotateFirstCharacter(r[0]), r[1]) << r[0];
  EXPECT_EQ(DisplayLine("A \nT\r") + FileNamePart("/m/x.mp3") + FileNamePart("x") + FileNamePart("/m/"),
            "A  - T -  - x.mp3x");
  EXPECT_EQ(TitleTimerPeriodMs(0) + TitleTimerPeriodMs(3) + TitleTimerPeriodMs(25), 100 + 300 + 1000);
}

TEST(TitleTimer, Latin1Description_ScrollsOneCharacterPerTickAndComesRound) {
  PlaybackHarness h;
  h.settings.cycle_time = 1;
  h.Fill(h.Songs(1, 2500));
  h.descriptions[h.playlist.current()] = "Caf\xE9 \n\xC9t\xE9 \nA ";
  EXPECT_TRUE(h.playback.StartPlayback());
  // Twenty characters, so the twenty-first text is the first again.
  const std::string start = "Caf\xC3\xA9  - \xC3\x89t\xC3\xA9  - A  - ";
  ASSERT_GE(h.view.displays.size(), 22u);
  EXPECT_EQ(h.view.displays[0], start);
  EXPECT_EQ(h.view.displays[4], "  - \xC3\x89t\xC3\xA9  - A  - Caf\xC3\xA9");
  for (size_t i = 1; i <= 20; ++i) {
    EXPECT_EQ(h.view.displays[i], RotateFirstCharacter(h.view.displays[i - 1])) << i;
    EXPECT_EQ(h.view.displays[i] == start, i == 20) << i;
  }
}

TEST(TogglePause, PauseAndResume_MarkerThenTheTextOfThePauseAndTheSongGoesOn) {
  PlaybackHarness h;
  h.settings.cycle_time = 1;
  const std::vector<std::string> songs = h.Songs(2);
  h.Fill(songs);
  std::string beforePause;
  h.loop.At(450, [&] {
    beforePause = h.view.display;
    h.nowPlaying.TogglePause();
    EXPECT_EQ(h.view.display, kPausedMarker);
  });
  h.loop.At(2450, [&] {
    // Paused for two seconds: the song is not over and the marker scrolls meanwhile.
    EXPECT_EQ(h.engine.played.size(), 1u);
    EXPECT_NE(h.view.display, kPausedMarker);
    h.nowPlaying.TogglePause();
    EXPECT_EQ(h.view.display, beforePause);
  });
  EXPECT_TRUE(h.playback.StartPlayback());
  EXPECT_EQ(h.engine.played, songs);
  EXPECT_GE(h.loop.now, 3000);
  // With the song ended, or no song at all, the button does nothing.
  h.engine.calls.clear();
  h.nowPlaying.TogglePause();
  h.RunFor(500);
  h.nowPlaying.TogglePause();
  EXPECT_EQ(h.engine.calls, std::vector<std::string>{"Release"});
}

// cycle_title 0 shows the file name from the first tick on, even over the pause marker; -1
// leaves the display alone and stops the timer, which then announces nothing; other values
// scroll. cycle_time 0 gives the shortest period, not a busy timer.
TEST(TitleTimer, CycleSettings_FileNameNothingOrScrolling) {
  const struct {
    int cycle;
    const char* displays;  // S the path, N the file name, P the pause marker, R the path scrolled
    int announcements;
  } rows[] = {{0, "SNPNN", 1}, {-1, "SPS", 0}, {7, "SRP", 1}};
  for (const auto& r : rows) {
    PlaybackHarness h;
    h.settings.cycle_title = r.cycle;
    h.settings.cycle_time = 0;
    const std::string song = h.File("a & b.mp3") + " - ";
    h.Fill({h.File("a & b.mp3")});
    h.loop.At(150, [&] { h.nowPlaying.TogglePause(); });
    h.loop.At(250, [&] { h.nowPlaying.TogglePause(); });
    EXPECT_TRUE(h.playback.StartPlayback());
    h.RunFor(500);
    std::string seen;
    for (const std::string& text : h.view.displays) {
      seen += text == song ? 'S' : text == "a & b.mp3 - " ? 'N' : text == kPausedMarker ? 'P'
              : text == RotateFirstCharacter(song)        ? 'R' : '?';
    }
    EXPECT_EQ(seen.substr(0, strlen(r.displays)), r.displays) << r.cycle;
    EXPECT_EQ(h.Announcements(), r.announcements) << r.cycle;
    EXPECT_EQ(h.loop.periods.front(), 100);
  }
}

}  // namespace
}  // namespace orvo::test

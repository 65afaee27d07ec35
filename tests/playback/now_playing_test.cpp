// The display over a song's life: scrolling, pausing, the file name.
#include "playback/now_playing.h"

#include <gtest/gtest.h>

#include "tests/playback/playback_doubles.h"

namespace orvo::test {
namespace {

// A character is a lead byte with its continuation bytes; broken sequences move byte by byte.
TEST(RotateFirstCharacter, Texts_OneWholeCharacterMovesToTheEnd) {
  const char* rows[][2] = {{"abc", "bca"}, {"", ""}, {"\xE2\x82\xAC!", "!\xE2\x82\xAC"}, {"\xF0\x9F\x8E\xB5x", "x\xF0\x9F\x8E\xB5"},
                           {"\xC3" "ab", "ab\xC3"}, {"\xA9" "ab", "ab\xA9"}, {"\xE2\x82", "\xE2\x82"}};
  for (const auto& r : rows) EXPECT_EQ(RotateFirstCharacter(r[0]), r[1]) << r[0];
}

// A Latin-1 description scrolls one character a tick and comes round after twenty. A pause shows
// the marker (which scrolls too) and holds the song; resuming brings back the text of the pause.
// cycle_title 0 shows the file name instead, even over the marker; -1 leaves the display alone
// and stops the timer, which then never announces the end.
TEST(TitleTimer, ScrollingPausingOrFileName_ByCycleTitle) {
  const std::string first = "Caf\xC3\xA9  - \xC3\x89t\xC3\xA9  - A  - ", name = "c & d.mp3 - ", paused = kPausedMarker;
  const struct {
    int cycle;
    std::map<size_t, std::string> displays;  // by place in the order they were set
    int announcements;
  } rows[] = {{1, {{1, RotateFirstCharacter(first)}, {4, "  - \xC3\x89t\xC3\xA9  - A  - Caf\xC3\xA9"}, {20, first},
                   {21, paused}, {22, RotateFirstCharacter(paused)}, {42, first}}, 1},
              {0, {{0, first}, {1, name}, {21, paused}, {22, name}, {42, name}}, 1},
              {-1, {{0, first}, {1, paused}, {2, first}}, 0}};
  for (const auto& r : rows) {
    PlaybackHarness h;
    h.settings.cycle_title = r.cycle;
    h.settings.cycle_time = 0;  // the shortest period, 100 ms, not a busy timer
    h.engine.songMs = 3000;
    h.Fill({"c & d.mp3", "2"});
    h.descriptions["c & d.mp3"] = "Caf\xE9 \n\xC9t\xE9 \nA ";
    h.loop.At(2050, [&] { h.nowPlaying.TogglePause(); });
    h.loop.At(4050, [&] { h.nowPlaying.TogglePause(); });
    EXPECT_TRUE(h.playback.StartPlayback());
    h.RunFor(500);
    for (const auto& [at, text] : r.displays) {
      EXPECT_EQ(h.view.displays.at(at), text) << r.cycle << " " << at;
    }
    EXPECT_EQ(h.Announcements(), r.announcements);
    EXPECT_GE(h.loop.now, 8000);
    EXPECT_EQ(h.loop.periods.front(), 100);
  }
}

}  // namespace
}  // namespace orvo::test

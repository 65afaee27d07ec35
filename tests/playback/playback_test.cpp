// Passes over the playlist against scripted doubles in virtual time.
#include "playback/playback.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "tests/playback/playback_doubles.h"

namespace orvo::test {
namespace {

// Missing, empty, folder and unloadable entries fail; a path with a byte above 126 is refused and
// emptied, which is no failure. Each song closes the bubble before it; the end is announced once the
// pass is over; failures add up across passes until the warning.
TEST(StartPlayback, InOrder_PlayableEntriesOnceThenTheEndThenTheWarning) {
  PlaybackHarness h;
  h.engine.failing = {"text.mp3"};
  h.descriptions["c.mp3"] = "Art \nT\xEDt \nAlb ";
  h.Fill({"a.mp3", "?gone.mp3", "dir.mp3/", "_empty.mp3", "text.mp3", "caf\xE9.mp3", "~b.mp3", "c.mp3"});
  EXPECT_TRUE(h.playback.StartPlayback());
  EXPECT_EQ(h.engine.calls, "Load a.mp3|Area 150,150,0|Play|Release|Load text.mp3|Release|Load ~b.mp3|Area 150,150,0|"
                            "Play|Release|Load c.mp3|Area 150,150,0|Play|");
  EXPECT_EQ(std::to_string(h.playback.failedStarts()) + h.playlist.at(5), "4");
  const std::string rule = "\n" + std::string(67, '-') + "\n", a = h.folder.file("a.mp3"), b = h.folder.file("~b.mp3");
  EXPECT_EQ(h.diagnostics.str(), "0 *** " + a + rule + "4 *** " + h.folder.file("text.mp3") + rule + "6 *** " + b +
                                     rule + "7 *** " + h.folder.file("c.mp3") + rule);
  EXPECT_EQ(h.notifier.shown, (std::vector<std::string>{
      "Now playing song 1 of 8|" + a + "\n|8", "loading Song failed because of\ninvalid characters |removed temporary "
      "from Playlist|8", "Now playing song 7 of 8|" + b + "\n|8", "Now playing song 8 of 8|Art \nT\xEDt \nAlb \n|8"}));
  EXPECT_EQ(h.notifier.closed, (std::vector<size_t>{1, 2, 3}));
  EXPECT_EQ(h.view.tooltip, "Current Song: 8 of 8\nArt \nT\xEDt \nAlb ");
  const auto shown = std::find(h.view.displays.begin(), h.view.displays.end(), "Art  - T\xC3\xADt  - Alb  - ");
  EXPECT_TRUE(shown + 1 < h.view.displays.end() && shown[1] == RotateFirstCharacter(*shown));  // a tick later
  h.RunFor(2000);
  EXPECT_EQ(h.notifier.shown.back() + h.view.displays.back(), kPlaylistFinished + std::string(kPlayerTitle));
  EXPECT_TRUE(!h.engine.IsLoaded() && h.loop.timers.empty());
  EXPECT_FALSE(h.playback.StartPlayback());
  EXPECT_EQ(h.engine.played, "a.mp3 ~b.mp3 c.mp3 a.mp3 ");
  EXPECT_TRUE(h.dialogs.shown.size() == 1 && h.dialogs.shown[0].message == "Could Not play a song (may they do Not exist)" && h.dialogs.shown[0].type == kMessageWarning &&
              h.dialogs.shown[0].buttons == kButtonsOk);
  EXPECT_EQ(h.playback.failedStarts() + h.Announcements(), 1);
}

// Random play picks one entry a pass by the seeded generator. With repeat, a missing entry fails
// once a pass until the failures reach the number of entries.
TEST(StartPlayback, RandomOrRepeat_OneSeededPickPerPassAndFailuresAddUpToTheWarning) {
  auto played = [](std::uint32_t seed, bool random) {
    PlaybackHarness h(seed);
    h.Fill({"1", "2", "3", "4", "?5", "6", "7", "8", "9", "10"});
    h.settings.randomplay = random;
    h.settings.repeat = true;
    h.engine.songMs = 100;
    EXPECT_TRUE(!h.playback.StartPlayback() && h.dialogs.shown.size() == 1);
    return h.engine.played;
  };
  EXPECT_EQ(played(42, true), played(42, true));
  EXPECT_NE(played(42, true), played(43, true));
  std::string passes;  // nine whole passes, then the four songs before the gap
  for (int pass = 0; pass < 9; ++pass) passes += "1 2 3 4 6 7 8 9 10 ";
  EXPECT_EQ(played(1, false), passes + "1 2 3 4 ");
}

// A single refused or missing entry switches repeat off instead of looping; two keep it, and emptied
// they end playback with the warning.
TEST(PlaySong, UnplayableEntries_NeverRepeatedForEver) {
  PlaybackHarness h;
  h.settings.repeat = true;
  h.Fill({"\xFF.mp3"});
  EXPECT_TRUE(h.playback.StartPlayback() && !h.settings.repeat);
  h.Fill({"?gone.mp3"});
  h.settings.repeat = true;
  EXPECT_TRUE(h.playback.PlaySong(h.playlist.current()) && !h.settings.repeat);
  h.Fill({"\xE9-1.mp3", "\xE9-2.mp3"});
  h.settings.repeat = true;
  EXPECT_FALSE(h.playback.StartPlayback());
  EXPECT_TRUE(h.settings.repeat && h.dialogs.shown.size() == 1);
}

// Handlers run nested inside the waiting song: pause and resume (the text of the pause comes back),
// a cursor button, the play button (its pass ending is not the end of the playlist), the list emptied.
TEST(PlaySong, NestedHandlers_ThePassGoesOnFromWhereTheyLeaveIt) {
  PlaybackHarness h;
  h.Fill({"1", "2", "3", "4", "5"});
  std::string beforePause;
  h.loop.At(200, [&] { beforePause = h.view.DisplayText(), h.nowPlaying.TogglePause(); });
  h.loop.At(250, [&] {
    EXPECT_EQ(h.view.DisplayText(), kPausedMarker);
    h.nowPlaying.TogglePause();
  });
  h.loop.At(251, [&] { EXPECT_EQ(h.view.DisplayText(), beforePause); });
  h.loop.At(500, [&] {
    h.playlist.select(3);
    h.playback.PlaySong(h.playlist.current());
  });
  EXPECT_TRUE(h.playback.StartPlayback());
  EXPECT_EQ(h.engine.calls.rfind("Load 1|Area 150,150,0|Play|Pause|Resume|", 0), 0u);
  h.RunFor(1000);
  h.loop.At(h.loop.now + 500, [&] {
    EXPECT_TRUE(h.playback.StartPlayback());
    h.RunFor(1000);
    EXPECT_EQ(h.Announcements(), 1);
  });
  h.loop.periods.clear();
  EXPECT_TRUE(h.playback.StartPlayback());
  EXPECT_EQ(h.engine.played, "1 4 5 1 1 2 3 4 5 ");
  EXPECT_EQ(h.loop.periods, std::vector<int>{300});  // the title's timer; the wait itself has none
  h.RunFor(1000);
  EXPECT_EQ(h.Announcements(), 2);
  h.settings.repeat = true;
  h.loop.At(h.loop.now + 300, [&] { h.playlist.clear(); });
  EXPECT_TRUE(!h.playback.StartPlayback() && h.dialogs.shown.empty());
}

// A key held on a focused button presses it again during the song the last press started: five
// hundred nested presses of next or (with repeat, whose passes never end) of play stop growing the
// stack, and the player plays on afterwards.
TEST(PlaySong, FiveHundredNestedPresses_StackStopsGrowingAndPlayerPlaysOn) {
  for (const bool playButton : {false, true}) {
    SCOPED_TRACE(playButton ? "play" : "next");
    PlaybackHarness h;
    h.Fill({"1", "2", "3"});
    h.settings.repeat = playButton;
    std::vector<std::uintptr_t> stack;  // an address on the stack at each press
    std::function<void()> press = [&] {
      const int here = 0;
      stack.push_back(reinterpret_cast<std::uintptr_t>(&here));
      if (stack.size() < 500) h.loop.At(h.loop.now + 1, press);
      if (playButton) return void(h.playback.StartPlayback());
      if (!h.playlist.next()) h.playlist.first();
      h.playback.PlaySong(h.playlist.current());
    };
    h.loop.At(100, press);
    h.loop.At(5000, [&] { h.playlist.clear(); });  // ends the repeating passes
    EXPECT_EQ(h.playback.StartPlayback(), !playButton);
    ASSERT_EQ(stack.size(), 500u);
    EXPECT_EQ(stack[499], stack[249]);
    h.settings.repeat = false;
    h.Fill({"1", "2", "3"});
    h.engine.played.clear();
    EXPECT_TRUE(h.playback.StartPlayback());
    EXPECT_EQ(h.engine.played, "1 2 3 ");
  }
}

}  // namespace
}  // namespace orvo::test

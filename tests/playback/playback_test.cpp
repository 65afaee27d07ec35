#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <set>

#include "playback_doubles.h"

namespace orvo::test {
namespace {

using Paths = std::vector<std::string>;

// A bubble of the player: normal urgency, the player's icon, not attached.
void ExpectBubble(const Bubble& b, const std::string& summary, const std::string& body, int seconds) {
  EXPECT_EQ(b.summary, summary);
  EXPECT_EQ(b.body, body);
  EXPECT_EQ(b.seconds, seconds);
  EXPECT_EQ(b.urgency, 1);
  EXPECT_EQ(b.attach, nullptr);
  EXPECT_EQ(b.icon, kNotificationIcon);
}

TEST(StartPlayback, EmptyPlaylist_ReturnsFalseAndInstallsNoTimer) {
  PlaybackHarness h;
  EXPECT_FALSE(h.playback.StartPlayback());
  EXPECT_FALSE(h.nowPlaying.TitleTimerActive());
  EXPECT_EQ(h.loop.activeTimers(), 0U);
  EXPECT_TRUE(h.engine.calls.empty());
}

TEST(StartPlayback, InOrderWithoutRepeat_PlaysEachPlayableEntryOnceThenAnnouncesEndOnce) {
  PlaybackHarness h;
  const Paths songs = h.MakeSongs(3, 900);
  const std::string missing = h.folder.Path("gone.mp3");
  const std::string folder = h.folder.Folder("folder.mp3");
  const std::string empty = h.folder.File("empty.mp3", "");
  h.Fill({songs[0], missing, songs[1], folder, empty, songs[2]});

  EXPECT_TRUE(h.playback.StartPlayback());

  EXPECT_EQ(h.engine.played, songs);
  EXPECT_EQ(h.playback.failedStarts(), 3);  // kept: only the warning resets it
  const std::string rule(67, '-');
  EXPECT_EQ(h.diagnostics.str(), "0 *** " + songs[0] + "\n" + rule + "\n" + "2 *** " + songs[1] +
                                     "\n" + rule + "\n" + "5 *** " + songs[2] + "\n" + rule + "\n");
  ASSERT_EQ(h.notifier.shown.size(), 3U);
  EXPECT_EQ(h.notifier.shown[1].summary, "Now playing song 3 of 6");
  EXPECT_EQ(h.notifier.shown[1].body, songs[1] + "\n");
  // Each song's start closes the bubble of the song before it, and only that.
  EXPECT_EQ(h.notifier.closed,
            (std::vector<NotificationHandle>{h.notifier.shown[0].handle, h.notifier.shown[1].handle}));
  EXPECT_EQ(h.Announcements(), 0) << "announced before the pass had ended";

  h.RunFor(2000);
  EXPECT_EQ(h.Announcements(), 1);
  ExpectBubble(h.notifier.shown.back(), "current Playlist", kPlaylistFinished, 3);
  EXPECT_EQ(h.view.display, kPlayerTitle);
  EXPECT_FALSE(h.engine.IsLoaded());
  EXPECT_EQ(h.loop.activeTimers(), 0U) << "title or redraw timer left behind";

  // Playing again starts a new pass with a new title timer; the failures of
  // the first pass still count, so the sixth failure ends it with the warning.
  h.loop.At(h.loop.now() + 100, [&] { EXPECT_TRUE(h.nowPlaying.TitleTimerActive()); });
  EXPECT_FALSE(h.playback.StartPlayback());
  EXPECT_EQ(h.engine.played.size(), 5U);
  EXPECT_EQ(h.dialogs.shown.size(), 1U);
  EXPECT_EQ(h.playback.failedStarts(), 0);
}

TEST(StartPlayback, RandomWithoutRepeat_PlaysExactlyOneEntryOfTheList) {
  std::set<std::string> picked;
  for (std::uint32_t seed = 1; seed <= 12; ++seed) {
    PlaybackHarness h(seed);
    const Paths songs = h.MakeSongs(5, 200);
    h.Fill(songs);
    h.settings.randomplay = 1;
    EXPECT_TRUE(h.playback.StartPlayback());
    ASSERT_EQ(h.engine.played.size(), 1U);
    EXPECT_EQ(h.engine.played[0], h.playlist.current()) << "cursor is not on the played entry";
    picked.insert(h.engine.played[0]);
  }
  EXPECT_GE(picked.size(), 3U) << "the pick does not follow the generator";
}

TEST(StartPlayback, RandomWithRepeat_SameSeedSameSongsUntilMissingEntryFailsOften) {
  auto run = [](std::uint32_t seed, std::size_t& warnings) {
    PlaybackHarness h(seed);
    Paths entries = h.MakeSongs(3, 100);
    entries.insert(entries.begin() + 1, h.folder.Path("missing.mp3"));
    h.Fill(entries);
    h.settings.randomplay = 1;
    h.settings.repeat = 1;
    EXPECT_FALSE(h.playback.StartPlayback());
    EXPECT_EQ(std::count(h.engine.played.begin(), h.engine.played.end(), entries[1]), 0);
    EXPECT_EQ(std::set<std::string>(h.engine.played.begin(), h.engine.played.end()).size(), 3U);
    warnings = h.dialogs.shown.size();
    return h.engine.played;
  };
  std::size_t warnings = 0;
  const Paths first = run(42, warnings);
  EXPECT_EQ(warnings, 1U);
  // Song files differ per run folder: compare the song names only.
  auto names = [](const Paths& paths) {
    Paths out;
    for (const std::string& p : paths) out.push_back(FileNamePart(p));
    return out;
  };
  EXPECT_EQ(names(run(42, warnings)), names(first));
  EXPECT_NE(names(run(43, warnings)), names(first));
}

TEST(StartPlayback, RepeatWithOneMissingOfTen_WarnsDuringTenthPass) {
  PlaybackHarness h;
  Paths entries = h.MakeSongs(9, 100);
  entries.insert(entries.begin() + 4, h.folder.Path("missing.mp3"));
  h.Fill(entries);
  h.settings.repeat = 1;
  int failuresSeen = -1;
  std::size_t playsAtWarning = 0;
  h.dialogs.whileOpen = [&] {
    failuresSeen = h.playback.failedStarts();
    playsAtWarning = h.engine.played.size();
  };

  EXPECT_FALSE(h.playback.StartPlayback());

  ASSERT_EQ(h.dialogs.shown.size(), 1U);
  EXPECT_EQ(h.dialogs.shown[0].message, "Could Not play a song (may they do Not exist)");
  EXPECT_EQ(h.dialogs.shown[0].type, kMessageWarning);
  EXPECT_EQ(h.dialogs.shown[0].buttons, kButtonsOk);
  EXPECT_EQ(failuresSeen, 10);
  EXPECT_EQ(h.playback.failedStarts(), 0);
  // Nine full passes of nine songs, then the four before the missing entry.
  ASSERT_EQ(playsAtWarning, 9U * 9U + 4U);
  EXPECT_EQ(h.engine.played.size(), playsAtWarning);
  Paths playable = entries;
  playable.erase(playable.begin() + 4);
  for (std::size_t i = 0; i < h.engine.played.size(); ++i) {
    ASSERT_EQ(h.engine.played[i], playable[i % 9]) << "play " << i;
  }
}

TEST(StartPlayback, UnplayableEntriesWithRepeat_WarnOnceEachHasFailed) {
  PlaybackHarness h;
  const std::string notAudio = h.folder.File("text.mp3", "just text");
  h.engine.FailLoad(notAudio);
  h.Fill({h.folder.Path("missing.mp3"), h.folder.Folder("dir.mp3"), h.folder.File("empty.mp3", ""),
          notAudio});
  h.settings.repeat = 1;

  EXPECT_FALSE(h.playback.StartPlayback());

  EXPECT_EQ(h.dialogs.shown.size(), 1U);
  EXPECT_EQ(h.engine.calls, (Paths{"Load " + notAudio})) << "only the existing file is loaded";
  EXPECT_TRUE(h.notifier.shown.empty());
  EXPECT_EQ(h.settings.repeat, 1);

  // A failed load returns at once, unplayed and unannounced.
  const int iterations = h.loop.iterations();
  EXPECT_FALSE(h.playback.PlaySong(notAudio));
  EXPECT_EQ(h.loop.iterations(), iterations);
  EXPECT_TRUE(h.notifier.shown.empty());

  // The failed load is released by the next song.
  const std::string good = h.folder.File("good.mp3");
  h.Fill({good});
  h.settings.repeat = 0;
  h.engine.calls.clear();
  EXPECT_TRUE(h.playback.StartPlayback());
  EXPECT_EQ(h.engine.calls[0], "Release");
  EXPECT_EQ(h.engine.played, (Paths{good}));
}

TEST(PlaySong, StartOfSong_ReleasesLoadsPlaysAtZeroSizeAreaAndPresents) {
  PlaybackHarness h;
  const Paths songs = h.MakeSongs(2, 300);
  h.Fill(songs);
  h.descriptions[songs[1]] = "Art \nTit \nAlb ";
  h.playlist.select(0);
  EXPECT_TRUE(h.playback.PlaySong(h.playlist.current()));
  h.engine.calls.clear();

  h.playlist.select(1);
  EXPECT_TRUE(h.playback.PlaySong(h.playlist.current()));

  EXPECT_EQ(h.engine.calls,
            (Paths{"Release", "Load " + songs[1], "SetVideoArea 150,150,0,0", "Play"}));
  ExpectBubble(h.notifier.shown.back(), "Now playing song 2 of 2", "Art \nTit \nAlb \n", 8);
  EXPECT_EQ(h.playback.nowPlayingNotification(), h.notifier.shown.back().handle);
  EXPECT_EQ(h.view.tooltip, "Current Song: 2 of 2\nArt \nTit \nAlb ");
  EXPECT_EQ(h.view.displayHistory.back(), "Art  - Tit  - Alb  - ");
}

TEST(PlaySong, PathWithByteAbove126_IsRefusedEmptiedAndCountedNextPass) {
  PlaybackHarness h;
  const Paths songs = h.MakeSongs(2, 300);
  const std::string tilde = h.folder.File("~tilde.mp3");
  const std::string accented = h.folder.File("caf\xE9.mp3");
  const std::string del = h.folder.File("x\x7F.mp3");
  h.Fill({songs[0], accented, tilde, del, songs[1]});

  EXPECT_TRUE(h.playback.StartPlayback());

  EXPECT_EQ(h.engine.played, (Paths{songs[0], tilde, songs[1]}));
  EXPECT_EQ(h.playlist.at(1), "");
  EXPECT_EQ(h.playlist.at(3), "");
  EXPECT_EQ(h.playback.failedStarts(), 0) << "a refusal is not a failed start";
  EXPECT_EQ(h.diagnostics.str().find("caf"), std::string::npos);
  ASSERT_EQ(h.notifier.shown.size(), 5U);
  const Bubble& refusal = h.notifier.shown[1];
  ExpectBubble(refusal, "loading Song failed because of\ninvalid characters ", "removed temporary from Playlist",
               8);
  // The refusal replaces the stopped song's bubble and is closed in turn.
  EXPECT_EQ(h.notifier.closed[0], h.notifier.shown[0].handle);
  EXPECT_EQ(h.notifier.closed[1], refusal.handle);

  h.RunFor(1000);
  EXPECT_TRUE(h.playback.StartPlayback());
  EXPECT_EQ(h.playback.failedStarts(), 2) << "emptied entries count as failed starts";
}

TEST(PlaySong, SingleUnplayableEntryWithRepeat_SwitchesRepeatOffInsteadOfLooping) {
  PlaybackHarness h;
  h.Fill({h.folder.File("\xFF.mp3")});
  h.settings.repeat = 1;
  EXPECT_TRUE(h.playback.StartPlayback());
  EXPECT_EQ(h.settings.repeat, 0);
  EXPECT_TRUE(h.dialogs.shown.empty());

  // A missing file reached through a cursor button does the same.
  h.Fill({h.folder.Path("gone.mp3")});
  h.settings.repeat = 1;
  EXPECT_TRUE(h.playback.PlaySong(h.playlist.current()));
  EXPECT_EQ(h.settings.repeat, 0);

  // With two entries repeat stays; the emptied entries then end it with the warning.
  h.Fill({h.folder.File("\xE9-1.mp3"), h.folder.File("\xE9-2.mp3")});
  h.settings.repeat = 1;
  EXPECT_FALSE(h.playback.StartPlayback());
  EXPECT_EQ(h.settings.repeat, 1);
  EXPECT_EQ(h.dialogs.shown.size(), 1U);
  EXPECT_TRUE(h.engine.played.empty());
}

TEST(PlaySong, CursorHandlerDuringSong_ReleasesItAndPassGoesOnFromNewCursor) {
  PlaybackHarness h;
  const Paths songs = h.MakeSongs(5, 1000);
  h.Fill(songs);
  h.loop.At(500, [&] {
    h.playlist.select(3);
    EXPECT_TRUE(h.playback.PlaySong(h.playlist.current()));
  });

  EXPECT_TRUE(h.playback.StartPlayback());

  EXPECT_EQ(h.engine.played, (Paths{songs[0], songs[3], songs[4]}));
  EXPECT_EQ(std::count(h.engine.calls.begin(), h.engine.calls.end(), "Release"), 2);
  h.RunFor(1000);
  EXPECT_EQ(h.Announcements(), 1);
}

TEST(StartPlayback, PlayButtonDuringSong_InnerPassPlaysAllAndOuterEndsAtOnce) {
  PlaybackHarness h;
  const Paths songs = h.MakeSongs(3, 1000);
  h.Fill(songs);
  h.loop.At(500, [&] {
    EXPECT_TRUE(h.playback.StartPlayback());
    // The outer pass still runs: an ended song is not yet the playlist's end.
    h.RunFor(1000);
    EXPECT_EQ(h.Announcements(), 0);
  });

  EXPECT_TRUE(h.playback.StartPlayback());

  EXPECT_EQ(h.engine.played, (Paths{songs[0], songs[0], songs[1], songs[2]}));
  EXPECT_EQ(std::count(h.loop.periodsAdded().begin(), h.loop.periodsAdded().end(), 300), 1)
      << "a second title timer was installed";
  h.RunFor(1000);
  EXPECT_EQ(h.Announcements(), 1);
}

// A key held on a focused button presses it again during the song the last
// press started, each press nesting inside the one before. Five hundred
// such presses of the next button or (with repeat, whose passes never end
// by themselves) of the play button: the stack stops growing, every next
// press still plays its song, and the player plays on afterwards.
TEST(StartPlayback, FiveHundredNestedPresses_StackStopsGrowingAndPlayerPlaysOn) {
  for (const bool playButton : {false, true}) {
    SCOPED_TRACE(playButton ? "play" : "next");
    PlaybackHarness h;
    const Paths songs = h.MakeSongs(3, 1000);
    h.Fill(songs);
    h.settings.repeat = playButton ? 1 : 0;
    std::vector<std::uintptr_t> stack;  // an address on the stack at each press
    std::function<void()> press = [&] {
      const int here = 0;
      stack.push_back(reinterpret_cast<std::uintptr_t>(&here));
      if (stack.size() < 500) h.loop.At(h.loop.now() + 1, press);
      if (playButton) {
        h.playback.StartPlayback();
      } else {
        if (!h.playlist.next()) h.playlist.first();
        h.playback.PlaySong(h.playlist.current());
      }
    };
    h.loop.At(100, press);
    h.loop.At(5000, [&] { h.playlist.clear(); });  // ends the repeating passes

    EXPECT_EQ(h.playback.StartPlayback(), !playButton);

    ASSERT_EQ(stack.size(), 500U);
    EXPECT_EQ(stack[499], stack[249]);
    if (!playButton) {
      ASSERT_EQ(h.engine.played.size(), 501U);
      EXPECT_EQ(h.engine.played.back(), songs[500 % 3]);
    }
    EXPECT_TRUE(h.dialogs.shown.empty());
    h.settings.repeat = 0;
    h.Fill(songs);
    h.engine.played.clear();
    EXPECT_TRUE(h.playback.StartPlayback());
    EXPECT_EQ(h.engine.played, songs);
  }
}

TEST(StartPlayback, NestedWindowOpenWhenSongsEnd_AnnouncesOnlyAfterLastSongOfPass) {
  PlaybackHarness h;
  const Paths songs = h.MakeSongs(2, 1000);
  h.Fill(songs);
  // A window with its own loop is open across the end of the first song and
  // again across the end of the last one; the title timer ticks inside it.
  auto nestedWindow = [&](long until) {
    h.loop.RunUntil(until);
    EXPECT_EQ(h.Announcements(), 0);
    EXPECT_NE(h.view.display, kPlayerTitle);
    EXPECT_TRUE(h.engine.IsLoaded());
    EXPECT_TRUE(h.nowPlaying.TitleTimerActive());
  };
  h.loop.At(900, [&] { nestedWindow(2500); });
  h.loop.At(3400, [&] { nestedWindow(4500); });

  EXPECT_TRUE(h.playback.StartPlayback());

  EXPECT_EQ(h.engine.played, songs);
  EXPECT_EQ(h.Announcements(), 0);
  h.RunFor(1000);
  EXPECT_EQ(h.Announcements(), 1);
  EXPECT_EQ(h.view.display, kPlayerTitle);
}

TEST(StartPlayback, ListEmptiedDuringSongWithRepeat_StopsWithoutWarning) {
  PlaybackHarness h;
  h.Fill(h.MakeSongs(2, 1000));
  h.settings.repeat = 1;
  h.loop.At(300, [&] { h.playlist.clear(); });
  EXPECT_FALSE(h.playback.StartPlayback());
  EXPECT_TRUE(h.dialogs.shown.empty());
  EXPECT_EQ(h.engine.played.size(), 1U);
}

// The wait sleeps in the loop until the engine reports the song's end: no
// turn of its own in between, and it returns at that very moment.
TEST(PlaySong, WaitingForSong_SleepsUntilEngineReportsTheEnd) {
  PlaybackHarness h;
  const long length = 10000;
  h.Fill(h.MakeSongs(1, length));
  h.descriptions[h.playlist.current()] = "Still \nText \n ";

  EXPECT_TRUE(h.playback.PlaySong(h.playlist.current()));

  EXPECT_EQ(h.loop.nonBlockingIterations(), 0);
  EXPECT_EQ(h.loop.now(), h.engine.EndTime());
  EXPECT_EQ(h.loop.iterations(), 1);
  EXPECT_EQ(h.loop.activeTimers(), 0U);
  // A song started outside any pass is neither scrolled nor announced.
  EXPECT_EQ(h.view.display, "Still  - Text  -   - ");
  EXPECT_EQ(h.Announcements(), 0);
}

}  // namespace
}  // namespace orvo::test

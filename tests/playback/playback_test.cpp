// Playing passes over the playlist against scripted doubles in virtual time.
#include "playback/playback.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/playback/playback_doubles.h"

namespace orvo::test {
namespace {

using Paths = std::vector<std::string>;

TEST(StartPlayback, InOrder_PlayableEntriesOnceThenTheEndAnnouncedOnce) {
  PlaybackHarness h;
  const Paths songs = h.Songs(3, 900);
  mkdir(h.folder.file("folder.mp3").c_str(), 0700);
  h.Fill({songs[0], h.folder.file("gone.mp3"), songs[1], h.folder.file("folder.mp3"),
          h.File("empty.mp3", ""), songs[2]});
  EXPECT_TRUE(h.playback.StartPlayback());
  EXPECT_EQ(h.engine.played, songs);
  const std::string rule = "\n" + std::string(67, '-') + "\n";
  EXPECT_EQ(h.diagnostics.str(),
            "0 *** " + songs[0] + rule + "2 *** " + songs[1] + rule + "5 *** " + songs[2] + rule);
  ASSERT_EQ(h.notifier.shown.size(), 3u);
  EXPECT_EQ(h.notifier.shown[1].str(), "Now playing song 3 of 6|" + songs[1] + "\n|8");
  // Each start closes the bubble of the song before, and only that one.
  EXPECT_EQ(h.notifier.closed, (std::vector<void*>{h.notifier.shown[0].handle, h.notifier.shown[1].handle}));
  EXPECT_EQ(h.Announcements(), 0);  // not while the last song still plays
  h.RunFor(2000);
  EXPECT_EQ(h.notifier.shown.back().str(), "current Playlist|" + std::string(kPlaylistFinished) + "|3");
  EXPECT_EQ(h.Announcements(), 1);
  EXPECT_EQ(h.view.display, kPlayerTitle);
  EXPECT_FALSE(h.engine.IsLoaded());
  EXPECT_EQ(h.loop.Pending(), 0u);  // neither title nor redraw timer stays
  // The three failures still count in the next pass, where the sixth brings the warning.
  EXPECT_FALSE(h.playback.StartPlayback());
  EXPECT_EQ(h.engine.played.size(), 5u);
  ASSERT_EQ(h.dialogs.shown.size(), 1u);
  EXPECT_EQ(h.dialogs.shown[0].message, "Could Not play a song (may they do Not exist)");
  EXPECT_TRUE(h.dialogs.shown[0].type == kMessageWarning && h.dialogs.shown[0].buttons == kButtonsOk);
  EXPECT_EQ(h.playback.failedStarts(), 0);
}

TEST(StartPlayback, Random_OneEntryPerPassChosenByTheSeededGenerator) {
  std::set<std::string> picked;
  for (std::uint32_t seed = 1; seed <= 12; ++seed) {
    PlaybackHarness h(seed);
    h.Fill(h.Songs(5, 200));
    h.settings.randomplay = true;
    EXPECT_TRUE(h.playback.StartPlayback());
    ASSERT_EQ(h.engine.played.size(), 1u);
    EXPECT_EQ(h.engine.played[0], h.playlist.current());
    picked.insert(FileNamePart(h.engine.played[0]));
  }
  EXPECT_GE(picked.size(), 3u);
  // With repeat, a missing entry is picked now and then until the failures reach the count.
  auto names = [](std::uint32_t seed) {
    PlaybackHarness h(seed);
    Paths entries = h.Songs(3, 100);
    entries.insert(entries.begin() + 1, h.folder.file("missing.mp3"));
    h.Fill(entries);
    h.settings.randomplay = h.settings.repeat = true;
    EXPECT_FALSE(h.playback.StartPlayback());
    EXPECT_EQ(h.dialogs.shown.size(), 1u);
    std::string out;
    for (const std::string& path : h.engine.played) out += FileNamePart(path)[4];
    return out;
  };
  EXPECT_EQ(names(42), names(42));
  EXPECT_NE(names(42), names(43));
  const std::string songs = names(42);
  EXPECT_EQ(std::set<char>(songs.begin(), songs.end()).size(), 3u);
}

TEST(StartPlayback, RepeatWithOneMissingOfTen_WarnsDuringTheTenthPass) {
  PlaybackHarness h;
  Paths entries = h.Songs(9, 100);
  entries.insert(entries.begin() + 4, h.folder.file("missing.mp3"));
  h.Fill(entries);
  h.settings.repeat = true;
  size_t playsAtWarning = 0;
  h.dialogs.whileOpen = [&] { playsAtWarning = h.engine.played.size(); };
  EXPECT_FALSE(h.playback.StartPlayback());
  EXPECT_EQ(h.dialogs.shown.size(), 1u);
  EXPECT_EQ(playsAtWarning, 9u * 9u + 4u);  // nine whole passes, then the four before the gap
  EXPECT_EQ(h.engine.played.size(), playsAtWarning);
  entries.erase(entries.begin() + 4);
  for (size_t i = 0; i < h.engine.played.size(); ++i) ASSERT_EQ(h.engine.played[i], entries[i % 9]) << i;
}

TEST(PlaySong, FailedLoadsAndGoodSongs_OnlyPlayableFilesReachTheEngine) {
  PlaybackHarness h;
  const std::string text = h.File("text.mp3", "just text"), good = h.File("good.mp3");
  mkdir(h.folder.file("dir.mp3").c_str(), 0700);
  h.engine.failing.insert(text);
  h.Fill({h.folder.file("missing.mp3"), h.folder.file("dir.mp3"), h.File("empty.mp3", ""), text});
  h.settings.repeat = true;
  EXPECT_FALSE(h.playback.StartPlayback());  // each entry failed once: warned, not looped
  EXPECT_EQ(h.dialogs.shown.size(), 1u);
  EXPECT_EQ(h.engine.calls, Paths{"Load " + text});
  const int iterations = h.loop.iterations;
  EXPECT_FALSE(h.playback.PlaySong(text));  // returns at once, unannounced
  EXPECT_EQ(h.loop.iterations, iterations);
  EXPECT_TRUE(h.notifier.shown.empty());
  // The next song releases the failed one; its bubble, tooltip and display show the description.
  h.Fill({good});
  h.descriptions[good] = "Art \nTit \nAlb ";
  h.settings.repeat = false;
  h.engine.calls.clear();
  EXPECT_TRUE(h.playback.StartPlayback());
  EXPECT_EQ(h.engine.calls, (Paths{"Release", "Load " + good, "Area 150,150,0,0", "Play"}));
  EXPECT_EQ(h.notifier.shown[0].str(), "Now playing song 1 of 1|Art \nTit \nAlb \n|8");
  EXPECT_EQ(h.playback.nowPlayingNotification(), h.notifier.shown[0].handle);
  EXPECT_EQ(h.view.tooltip, "Current Song: 1 of 1\nArt \nTit \nAlb ");
  EXPECT_EQ(h.view.displays.at(0), "Art  - Tit  - Alb  - ");
}

TEST(PlaySong, PathWithAByteAbove126_RefusedEmptiedAndCountedInTheNextPass) {
  PlaybackHarness h;
  const Paths songs = h.Songs(2, 300);
  const std::string tilde = h.File("~tilde.mp3");
  h.Fill({songs[0], h.File("caf\xE9.mp3"), tilde, h.File("x\x7F.mp3"), songs[1]});
  EXPECT_TRUE(h.playback.StartPlayback());
  EXPECT_EQ(h.engine.played, (Paths{songs[0], tilde, songs[1]}));
  EXPECT_EQ(h.playlist.at(1) + h.playlist.at(3), "");
  EXPECT_EQ(h.playback.failedStarts(), 0);
  EXPECT_EQ(h.diagnostics.str().find("caf"), std::string::npos);
  ASSERT_EQ(h.notifier.shown.size(), 5u);
  EXPECT_EQ(h.notifier.shown[1].str(),
            "loading Song failed because of\ninvalid characters |removed temporary from Playlist|8");
  // The refusal takes the place of the stopped song's bubble and is closed in turn.
  EXPECT_EQ(h.notifier.closed.at(0), h.notifier.shown[0].handle);
  EXPECT_EQ(h.notifier.closed.at(1), h.notifier.shown[1].handle);
  h.RunFor(1000);
  EXPECT_TRUE(h.playback.StartPlayback());
  EXPECT_EQ(h.playback.failedStarts(), 2);
}

TEST(PlaySong, SingleUnplayableEntryWithRepeat_SwitchesRepeatOffInsteadOfLooping) {
  PlaybackHarness h;
  h.Fill({h.File("\xFF.mp3")});
  h.settings.repeat = true;
  EXPECT_TRUE(h.playback.StartPlayback());  // would loop for ever with repeat on
  EXPECT_FALSE(h.settings.repeat);
  h.Fill({h.folder.file("gone.mp3")});
  h.settings.repeat = true;
  EXPECT_TRUE(h.playback.PlaySong(h.playlist.current()));
  EXPECT_FALSE(h.settings.repeat);
  // Two emptied entries keep repeat on and end playback with the warning.
  h.Fill({h.File("\xE9-1.mp3"), h.File("\xE9-2.mp3")});
  h.settings.repeat = true;
  EXPECT_FALSE(h.playback.StartPlayback());
  EXPECT_TRUE(h.settings.repeat);
  EXPECT_EQ(h.dialogs.shown.size(), 1u);
}

// Handlers run nested inside the waiting song: a cursor button, the play button, a window with
// its own loop open across the ends of songs, the list emptied.
TEST(PlaySong, NestedHandlers_ThePassGoesOnFromWhereTheyLeaveIt) {
  PlaybackHarness h;
  const Paths songs = h.Songs(5);
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

  h.loop.At(h.loop.now + 500, [&] {
    EXPECT_TRUE(h.playback.StartPlayback());
    h.RunFor(1000);  // the outer pass still runs: the ended song is not the end of the playlist
    EXPECT_EQ(h.Announcements(), 1);
  });
  h.loop.periods.clear();
  EXPECT_TRUE(h.playback.StartPlayback());
  EXPECT_EQ(h.engine.played.size(), 3u + 6u);
  EXPECT_EQ(h.loop.periods, (std::vector<int>{300, 1000}));  // one title and one redraw timer
  h.RunFor(1000);
  EXPECT_EQ(h.Announcements(), 2);

  auto window = [&](long until) {
    h.loop.RunUntil(until);
    EXPECT_EQ(h.Announcements(), 2);
    EXPECT_TRUE(h.engine.IsLoaded() && h.nowPlaying.TitleTimerActive());
  };
  h.Fill({songs[0], songs[1]});
  const long start = h.loop.now;
  h.loop.At(start + 900, [&] { window(start + 2500); });
  h.loop.At(start + 3400, [&] { window(start + 4500); });
  EXPECT_TRUE(h.playback.StartPlayback());
  h.RunFor(1000);
  EXPECT_EQ(h.Announcements(), 3);

  h.settings.repeat = true;
  h.loop.At(h.loop.now + 300, [&] { h.playlist.clear(); });
  EXPECT_FALSE(h.playback.StartPlayback());
  EXPECT_TRUE(h.dialogs.shown.empty());
}

TEST(PlaySong, WaitingForTheEnd_BlocksInTheLoopAndRedrawsOnceASecond) {
  PlaybackHarness h;
  h.Fill(h.Songs(1, 10000));
  EXPECT_TRUE(h.playback.PlaySong(h.playlist.current()));
  EXPECT_LE(h.loop.now, 10000 + Playback::kPollIntervalMs);
  EXPECT_LE(h.loop.iterations, 10000 / Playback::kPollIntervalMs + 12);
  EXPECT_GE(h.view.redraws, 9);
  EXPECT_LE(h.view.redraws, 11);
  EXPECT_EQ(h.loop.Pending(), 0u);
  // A song started outside a pass is neither scrolled nor announced.
  EXPECT_EQ(h.view.displays, Paths{h.playlist.current() + " - "});
  EXPECT_EQ(h.Announcements(), 0);
}

}  // namespace
}  // namespace orvo::test

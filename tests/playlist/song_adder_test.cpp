#include "playlist/song_adder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/settings.h"
#include "playlist/path_list.h"
#include "tests/playback/recording_doubles.h"
#include "tests/support/scratch_dir.h"

namespace orvo::test {
namespace {

std::string Joined(const std::vector<std::string>& paths) {
  std::string out;
  for (const std::string& path : paths) out += path + "|";
  return out;
}

// Each way of adding songs, with the user's answer to its chooser (none: cancelled), refills the
// playlist (its file in brackets) or the found files, announces the playlist's count and may
// start playback.
TEST(SongAdder, Choices_RefillTheListsAnnounceTheCountAndMayPlayAtOnce) {
  ScratchDir dir;
  const std::string d = dir.path() + "/", home = std::getenv("HOME") ? std::getenv("HOME") : "";
  for (const char* name : {"music/top.mpc", "music/a.jpg", "music/sub/deep.mp3", "music/sub/x.mpc"}) {
    std::filesystem::create_directories(std::filesystem::path(d + name).parent_path());
    WriteBytes(d + name, "x");
  }
  WriteBytes(d + "my list.m3u", "#EXTM3U\r\n/m/a b.mp3\n\nrel/c.ogg");
  const std::string files = "Select,files,multiple,,mp3-files|*.mp3|wav-files|*.wav|ogg-files|*.ogg|all files|*.*,3",
                    list = "select a Playlist,files,single," + d + ",Playlists|*m3u,0",
                    folder = "start search in...:,folder,single," + home + ",,0",
                    music = d + "music/top.mpc|" + d + "music/sub/deep.mp3|";
  const struct {
    char operation;  // F files, P playlist, A folder added, S folder only searched
    std::vector<std::string> chosen;
    bool instantplay, songLoaded;
    std::string request, playlist, found;
    int count, starts;  // count: the announced number of songs, -1 for none
  } rows[] = {
      {'F', {"b.ogg", "A.mp3", "t9.mp3", "t10.mp3"}, false, false, files, "A.mp3|b.ogg|t10.mp3|t9.mp3|[]",
       "stale|", 4, 0},
      {'F', {}, true, false, files, "old|[/l.m3u]", "stale|", -1, 1},
      {'P', {}, false, false, list, "old|[/l.m3u]", "stale|", 1, 0},
      {'P', {d + "my list.m3u"}, true, true, list, "#EXTM3U|/m/a b.mp3|rel/c.ogg|[" + d + "my list.m3u]",
       "stale|", 3, 0},
      {'P', {d + "gone.m3u"}, true, false, list, "[" + d + "gone.m3u]", "stale|", 0, 1},
      {'A', {d + "music"}, true, false, folder, music + "[]", music, 2, 1},
      {'S', {d + "music"}, true, false, folder, "old|[/l.m3u]", music, -1, 0},
      {'A', {}, true, false, folder, "old|[/l.m3u]", "stale|", 1, 1},
      {'S', {}, true, false, folder, "old|[/l.m3u]", "stale|", -1, 0},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(std::string(1, r.operation) + std::to_string(r.chosen.size()));
    CurrentPlaylist playlist;
    playlist.add("old");
    playlist.filePath = "/l.m3u";
    PathList found;
    found.add("stale");
    Settings settings;
    settings.instantplay = r.instantplay;
    RecordingNotifier notifier;
    RecordingView view;
    std::string request;
    int starts = 0;
    auto choose = [&](const FileChooserRequest& q) {
      const bool forFolder = q.action == FileChooserRequest::Action::kSelectFolder;
      request = q.title + (forFolder ? ",folder," : ",files,") + (q.multiple ? "multiple," : "single,") +
                q.startFolder + "," + q.filterList + "," + std::to_string(q.selectedFilter);
      return r.chosen;
    };
    SongAdder adder(playlist, found, settings, notifier, view, choose, d, [&] { return r.songLoaded; },
                    [&] { ++starts; });
    using Mode = SongAdder::SearchMode;
    EXPECT_EQ(r.operation == 'F'   ? adder.AddFiles()
              : r.operation == 'P' ? adder.LoadPlaylist()
                                   : adder.SearchMusicFolder(r.operation == 'A' ? Mode::kAdd : Mode::kSearchOnly),
              !r.chosen.empty());
    EXPECT_EQ(request, r.request);
    EXPECT_EQ(Joined(playlist.paths()) + "[" + playlist.filePath + "]", r.playlist);
    EXPECT_EQ(Joined(found.paths()), r.found);
    std::string bubbles, expected;
    for (const Bubble& b : notifier.shown) bubbles += b.str();
    if (r.count >= 0) expected = "current Playlist|there are  " + std::to_string(r.count) + " files in the current Playlist|3@";
    EXPECT_EQ(bubbles, expected);
    EXPECT_EQ(starts, r.starts);
  }
}

}  // namespace
}  // namespace orvo::test

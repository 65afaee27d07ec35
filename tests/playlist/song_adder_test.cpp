#include "playlist/song_adder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/settings.h"
#include "playlist/path_list.h"
#include "tests/playback/recording_doubles.h"
#include "tests/support/scratch_dir.h"

namespace orvo::test {
namespace {

// Each way of adding songs, with the answer to its chooser (none: cancelled), refills the playlist
// (its file in brackets) or the found files, announces the count and may start playing.
TEST(SongAdder, Choices_RefillTheListsAnnounceTheCountAndMayPlayAtOnce) {
  ScratchDir dir;
  const std::string d = dir.path() + "/", home = std::getenv("HOME") ? std::getenv("HOME") : "";
  for (const char* name : {"music/top.mpc", "music/a.jpg", "music/sub/deep.mp3", "music/sub/x.mpc"}) {
    std::filesystem::create_directories(std::filesystem::path(d + name).parent_path());
    WriteBytes(d + name, "x");
  }
  WriteBytes(d + "my list.m3u", "#EXTM3U\r\n/m/a b.mp3\n\nrel/c.ogg");
  const std::string files = "Select,0,1,,mp3-files|*.mp3|wav-files|*.wav|ogg-files|*.ogg|all files|*.*,3 ",
                    list = "select a Playlist,0,0," + d + ",Playlists|*m3u,0 ", kept = "old|[/l.m3u] ",
                    folder = "start search in...:,1,0," + home + ",,0 ",
                    music = d + "music/top.mpc|" + d + "music/sub/deep.mp3|";
  auto count = [](int n) { return " current Playlist|there are  " + std::to_string(n) + " files in the current Playlist|3@"; };
  const struct {
    char operation;  // F files, P playlist, A folder added, S folder only searched
    std::vector<std::string> chosen;
    bool instantplay, songLoaded;
    std::string expected;  // request, playlist, found files, the count announced, playback started
  } rows[] = {
      {'F', {"b.ogg", "A.mp3", "t9.mp3", "t10.mp3"}, false, false, files + "A.mp3|b.ogg|t10.mp3|t9.mp3|[] old|" + count(4) + " 0"},
      {'F', {}, true, false, files + kept + "old| 1"},
      {'P', {}, false, false, list + kept + "old|" + count(1) + " 0"},
      {'P', {d + "my list.m3u"}, true, true, list + "#EXTM3U|/m/a b.mp3|rel/c.ogg|[" + d + "my list.m3u] old|" + count(3) + " 0"},
      {'P', {d + "gone.m3u"}, true, false, list + "[" + d + "gone.m3u] old|" + count(0) + " 1"},
      {'A', {d + "music"}, true, false, folder + music + "[] " + music + count(2) + " 1"},
      {'S', {d + "music"}, true, false, folder + kept + music + " 0"},
      {'A', {}, true, false, folder + kept + "old|" + count(1) + " 1"},
  };
  for (const auto& r : rows) {
    CurrentPlaylist playlist;
    PathList found;
    playlist.add("old"), found.add("old"), playlist.filePath = "/l.m3u";
    Settings settings;
    settings.instantplay = r.instantplay;
    RecordingNotifier notifier;
    RecordingView view;
    std::string out;
    int starts = 0;
    auto choose = [&](const FileChooserRequest& q) {
      out = q.title + "," + std::to_string(q.action == FileChooserRequest::Action::kSelectFolder) + "," +
            std::to_string(q.multiple) + "," + q.startFolder + "," + q.filterList + "," + std::to_string(q.selectedFilter) + " ";
      return r.chosen;
    };
    SongAdder adder(playlist, found, settings, notifier, view, choose, d, [&] { return r.songLoaded; }, [&] { ++starts; });
    using Mode = SongAdder::SearchMode;
    const bool chosen = r.operation == 'F'   ? adder.AddFiles()
                        : r.operation == 'P' ? adder.LoadPlaylist()
                                             : adder.SearchMusicFolder(r.operation == 'A' ? Mode::kAdd : Mode::kSearchOnly);
    for (const std::string& path : playlist.paths()) out += path + "|";
    out += "[" + playlist.filePath + "] ";
    for (const std::string& path : found.paths()) out += path + "|";
    for (const std::string& bubble : notifier.shown) out += " " + bubble;
    EXPECT_EQ(out + " " + std::to_string(starts), r.expected);
    EXPECT_EQ(chosen, !r.chosen.empty());
  }
}

}  // namespace
}  // namespace orvo::test

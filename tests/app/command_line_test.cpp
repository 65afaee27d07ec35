#include "app/command_line.h"

#include <gtest/gtest.h>

#include "core/settings.h"
#include "playlist/path_list.h"

namespace orvo {
namespace {

// Help only as the first argument; playlists and skins by their exact extension (the last one
// wins), music in any letter case; music files drop the playlist for this run, play at once
// and forget the last playlist. Then the skin (named, remembered, or "orvo.ini") and the
// playlist (named, or the last one when asked for) are chosen, bare names from the program's
// folder.
TEST(CommandLine, Arguments_ChooseUsageSkinPlaylistAndSongs) {
  const struct {
    std::vector<std::string> args;
    const char* remembered;
    std::string expected;  // usage, skin, playlist, songs, instant play, last playlist
  } rows[] = {
      {{"--help", "a.mp3"}, "", "usage"},
      {{"/h"}, "", "usage"},
      {{"-?"}, "", "usage"},
      {{"--HELP"}, "", "/o/orvo.ini, /music/last.m3u, , 0, /music/last.m3u"},
      {{"a.mp3", "--help"}, "", "/o/orvo.ini, , a.mp3|, 1, "},
      {{}, "blue.ini", "/o/blue.ini, /music/last.m3u, , 0, /music/last.m3u"},
      {{"./skins/my.ini", "  mylist.m3u"}, "blue.ini", "./skins/my.ini, /o/mylist.m3u, , 0, /music/last.m3u"},
      {{"a.m3u", "x.ini", "./b.m3u", "y.ini"}, "", "/o/y.ini, ./b.m3u, , 0, /music/last.m3u"},
      {{"list.M3U", "skin.INI", "d.mp3/x", "c.d/s.OGG", "b.Wav", "l.m3u", "n.txt", "a.mpc"}, "",
       "/o/orvo.ini, , c.d/s.OGG|b.Wav|a.mpc|, 1, "},
  };
  for (const auto& r : rows) {
    const CommandLine line = InterpretCommandLine(r.args);
    Settings settings;
    settings.last_one = "/music/last.m3u";
    settings.start_with_last_playlist = true;
    settings.use_last_skin = r.remembered;
    CurrentPlaylist playlist;
    playlist.add("stale.mp3");
    ApplyMusicFiles(line, settings, playlist);
    std::string songs;
    for (const std::string& path : playlist.paths()) songs += path + "|";
    const SkinChoice skin = ChooseSkin(line, settings, "/o/");
    EXPECT_EQ(skin.skinRemembered, *r.remembered != '\0');
    EXPECT_EQ(line.showUsage ? "usage"
                             : skin.skinFile + ", " + ChoosePlaylistPath(line, settings, "/o/") + ", " +
                                   songs + ", " + std::to_string(settings.instantplay) + ", " + settings.last_one,
              r.expected);
  }
}

}  // namespace
}  // namespace orvo

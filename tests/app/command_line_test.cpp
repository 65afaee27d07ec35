#include "app/command_line.h"

#include <gtest/gtest.h>

#include "core/settings.h"
#include "playlist/path_list.h"

namespace orvo {
namespace {

// Help only first; playlists and skins by exact extension (the last wins), music in any case, which
// drops the playlist, plays at once and forgets the last one. Skin: named, remembered or "orvo.ini";
// playlist: named or the last; bare names are taken from the program's folder.
TEST(CommandLine, Arguments_UsageSkinPlaylistAndSongs) {
  const std::pair<std::vector<std::string>, std::string> rows[] = {
      {{"--help", "a.mp3"}, "usage"}, {{"/h"}, "usage"}, {{"-?"}, "usage"},
      {{"--HELP"}, "/o/r.ini /last.m3u  0 /last.m3u"},
      {{"a.mp3", "--help"}, "/o/r.ini  a.mp3| 1 "},
      {{"./my.ini", "  my.m3u"}, "./my.ini /o/my.m3u  0 /last.m3u"},
      {{"a.m3u", "x.ini", "./b.m3u", "y.ini"}, "/o/y.ini ./b.m3u  0 /last.m3u"},
      {{"l.M3U", "s.INI", "d.mp3/x", "c.d/s.OGG", "b.Wav", "l.m3u", "n.txt", "a.mpc"}, "/o/r.ini  c.d/s.OGG|b.Wav|a.mpc| 1 "},
  };
  for (const auto& [args, expected] : rows) {
    const CommandLine line = InterpretCommandLine(args);
    Settings settings;
    settings.start_with_last_playlist = true;
    settings.last_one = "/last.m3u", settings.use_last_skin = "r.ini";
    CurrentPlaylist playlist;
    playlist.add("stale.mp3");
    ApplyMusicFiles(line, settings, playlist);
    std::string songs;
    for (const std::string& path : playlist.paths()) songs += path + "|";
    EXPECT_EQ(line.showUsage ? "usage"
                             : ChooseSkin(line, settings, "/o/").skinFile + " " + ChoosePlaylistPath(line, settings, "/o/") +
                                   " " + songs + " " + std::to_string(settings.instantplay) + " " + settings.last_one,
              expected);
  }
  const SkinChoice standard = ChooseSkin(InterpretCommandLine({}), Settings(), "/o/");
  EXPECT_TRUE(standard.skinFile == "/o/orvo.ini" && !standard.skinRemembered);
}

}  // namespace
}  // namespace orvo

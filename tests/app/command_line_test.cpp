#include "app/command_line.h"
#include "base/file_name.h"

#include <gtest/gtest.h>

#include "core/settings.h"
#include "playlist/path_list.h"

namespace orvo {
namespace {

const std::string kDir = "/opt/orvo/";

TEST(InterpretCommandLine, HelpSwitches_OnlyAsFirstArgument) {
  for (const char* sw : {"-?", "--help", "/?", "help", "-h", "/h"}) {
    EXPECT_TRUE(InterpretCommandLine({sw}).showUsage) << sw;
  }
  EXPECT_FALSE(InterpretCommandLine({"--HELP"}).showUsage);
  EXPECT_FALSE(InterpretCommandLine({"-help"}).showUsage);
  const CommandLine later = InterpretCommandLine({"a.mp3", "--help"});
  EXPECT_FALSE(later.showUsage);
  EXPECT_EQ(later.musicFiles, std::vector<std::string>{"a.mp3"});
}

// Arguments are sorted by the extension of their last path component: ".m3u"
// and ".ini" exactly, music extensions in any case; a later playlist or skin
// replaces an earlier one, and music files empty the playlist path.
TEST(InterpretCommandLine, Arguments_SortedByExtension) {
  const CommandLine upper = InterpretCommandLine({"list.M3U", "skin.INI", "song.MP3"});
  EXPECT_TRUE(upper.playlistPath.empty());
  EXPECT_FALSE(upper.playlistNamedOnCommandLine);
  EXPECT_TRUE(upper.skinFile.empty());
  EXPECT_EQ(upper.musicFiles, std::vector<std::string>{"song.MP3"});

  const CommandLine later = InterpretCommandLine({"a.m3u", "x.ini", "b.m3u", "y.ini"});
  EXPECT_EQ(later.playlistPath, "b.m3u");
  EXPECT_EQ(later.skinFile, "y.ini");
  EXPECT_TRUE(later.playlistNamedOnCommandLine);

  EXPECT_EQ(InterpretCommandLine({"dir.mp3/song", "music.d/list", "./a.b/c.ogg"}).musicFiles,
            std::vector<std::string>{"./a.b/c.ogg"});
  EXPECT_EQ(Extension("dir.m3u/readme"), "");
  EXPECT_EQ(Extension("archive.tar.Gz"), "Gz");
  EXPECT_EQ(LowerExtension("x/SONG.Mp3"), "mp3");

  const CommandLine music = InterpretCommandLine({"b.ogg", "list.m3u", "a.mp3", "notes.txt", "c.WAV"});
  EXPECT_EQ(music.musicFiles, (std::vector<std::string>{"b.ogg", "a.mp3", "c.WAV"}));
  EXPECT_TRUE(music.playlistPath.empty());
  EXPECT_TRUE(music.playlistNamedOnCommandLine);
}

TEST(ApplyMusicFiles, FillsPlaylistAndChangesSettingsInMemory) {
  Settings settings;
  settings.last_one = "/music/old.m3u";
  CurrentPlaylist playlist;
  playlist.add("stale.mp3");
  ApplyMusicFiles(InterpretCommandLine({"a.mp3", "b.ogg"}), settings, playlist);
  EXPECT_EQ(playlist.paths(), (std::vector<std::string>{"a.mp3", "b.ogg"}));
  EXPECT_EQ(settings.instantplay, 1);
  EXPECT_TRUE(settings.last_one.empty());

  Settings untouched;
  untouched.last_one = "/music/old.m3u";
  ApplyMusicFiles(InterpretCommandLine({"list.m3u"}), untouched, playlist);
  EXPECT_EQ(playlist.count(), 0u);
  EXPECT_EQ(untouched.instantplay, 0);
  EXPECT_EQ(untouched.last_one, "/music/old.m3u");
}

TEST(ChooseSkin, CommandLineThenRememberedThenDefault) {
  Settings settings;
  SkinChoice byDefault = ChooseSkin(InterpretCommandLine({}), settings, kDir);
  EXPECT_EQ(byDefault.skinFile, kDir + "orvo.ini");
  EXPECT_FALSE(byDefault.skinRemembered);

  settings.use_last_skin = "vertical.ini";
  SkinChoice remembered = ChooseSkin(InterpretCommandLine({}), settings, kDir);
  EXPECT_EQ(remembered.skinFile, kDir + "vertical.ini");
  EXPECT_TRUE(remembered.skinRemembered);

  SkinChoice given = ChooseSkin(InterpretCommandLine({"./skins/my.ini"}), settings, kDir);
  EXPECT_EQ(given.skinFile, "./skins/my.ini");
  EXPECT_TRUE(given.skinRemembered);

  settings.use_last_skin.clear();
  SkinChoice bare = ChooseSkin(InterpretCommandLine({"myskin.ini"}), settings, kDir);
  EXPECT_EQ(bare.skinFile, kDir + "myskin.ini");
  EXPECT_FALSE(bare.skinRemembered);
}

// A bare name is taken from the program's folder, a path as written; the
// last playlist only when asked for and none was named; none with music files.
TEST(ChoosePlaylistPath, NamedLastOrNone) {
  Settings settings;
  settings.last_one = "/music/last.m3u";
  auto choose = [&](std::vector<std::string> args) {
    return ChoosePlaylistPath(InterpretCommandLine(args), settings, kDir);
  };
  EXPECT_EQ(choose({"mylist.m3u"}), kDir + "mylist.m3u");
  EXPECT_EQ(choose({"./mylist.m3u"}), "./mylist.m3u");
  EXPECT_EQ(choose({"  mylist.m3u"}), kDir + "mylist.m3u");
  EXPECT_EQ(choose({}), "");
  settings.start_with_last_playlist = 1;
  EXPECT_EQ(choose({}), "/music/last.m3u");
  EXPECT_EQ(choose({"other.m3u"}), kDir + "other.m3u");
  EXPECT_EQ(choose({"list.m3u", "a.mp3"}), "");
}

}  // namespace
}  // namespace orvo

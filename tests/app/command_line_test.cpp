#include "app/command_line.h"

#include <gtest/gtest.h>

#include "app/settings.h"
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

TEST(InterpretCommandLine, UsageText_HasThirteenLinesWithTrailingBlanks) {
  const auto& lines = UsageLines();
  ASSERT_EQ(lines.size(), 13u);
  EXPECT_EQ(lines[0], " ");
  EXPECT_EQ(lines[1], std::string(52, '-'));
  EXPECT_EQ(lines[3], "Usage: Orvo_M [playlist.m3u [ini-file.ini [music-file(s)]]] ");
  EXPECT_EQ(lines[5], "and order ");
  EXPECT_EQ(lines[7], "as the executable ");
  EXPECT_EQ(lines[8], lines[1]);
  EXPECT_EQ(lines[11], lines[1]);
  EXPECT_EQ(lines[12], " ");
}

TEST(InterpretCommandLine, Extensions_PlaylistAndSkinAreCaseSensitive) {
  const CommandLine upper = InterpretCommandLine({"list.M3U", "skin.INI", "song.MP3"});
  EXPECT_TRUE(upper.playlistPath.empty());
  EXPECT_FALSE(upper.playlistNamedOnCommandLine);
  EXPECT_TRUE(upper.skinFile.empty());
  EXPECT_EQ(upper.musicFiles, std::vector<std::string>{"song.MP3"});
}

TEST(InterpretCommandLine, LaterArgumentOfSameKind_ReplacesEarlier) {
  const CommandLine cl = InterpretCommandLine({"a.m3u", "x.ini", "b.m3u", "y.ini"});
  EXPECT_EQ(cl.playlistPath, "b.m3u");
  EXPECT_EQ(cl.skinFile, "y.ini");
  EXPECT_TRUE(cl.playlistNamedOnCommandLine);
}

TEST(InterpretCommandLine, ExtensionOnlyFromLastPathComponent) {
  const CommandLine cl = InterpretCommandLine({"dir.mp3/song", "music.d/list", "./a.b/c.ogg"});
  EXPECT_EQ(cl.musicFiles, std::vector<std::string>{"./a.b/c.ogg"});
  std::string ext;
  EXPECT_FALSE(FileExtension("dir.m3u/readme", ext));
  EXPECT_TRUE(FileExtension("archive.tar.Gz", ext));
  EXPECT_EQ(ext, "Gz");
  EXPECT_EQ(LowerExtension("x/SONG.Mp3"), "mp3");
}

TEST(InterpretCommandLine, MusicFiles_KeepOrderAndEmptyThePlaylistPath) {
  const CommandLine cl = InterpretCommandLine({"b.ogg", "list.m3u", "a.mp3", "notes.txt", "c.WAV"});
  EXPECT_EQ(cl.musicFiles, (std::vector<std::string>{"b.ogg", "a.mp3", "c.WAV"}));
  EXPECT_TRUE(cl.playlistPath.empty());
  EXPECT_TRUE(cl.playlistNamedOnCommandLine);
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

TEST(ChoosePlaylistPath, BareNameFromProgramFolder_RelativePathAsWritten) {
  Settings settings;
  EXPECT_EQ(ChoosePlaylistPath(InterpretCommandLine({"mylist.m3u"}), settings, kDir),
            kDir + "mylist.m3u");
  EXPECT_EQ(ChoosePlaylistPath(InterpretCommandLine({"./mylist.m3u"}), settings, kDir),
            "./mylist.m3u");
  EXPECT_EQ(ChoosePlaylistPath(InterpretCommandLine({"  mylist.m3u"}), settings, kDir),
            kDir + "mylist.m3u");
}

TEST(ChoosePlaylistPath, MusicFilesWithPlaylist_LeaveThePathEmpty) {
  Settings settings;
  settings.start_with_last_playlist = 1;
  settings.last_one = "/music/last.m3u";
  EXPECT_EQ(ChoosePlaylistPath(InterpretCommandLine({"list.m3u", "a.mp3"}), settings, kDir), "");
}

TEST(ChoosePlaylistPath, LastPlaylistOnlyWhenNoneNamed) {
  Settings settings;
  settings.last_one = "/music/last.m3u";
  EXPECT_EQ(ChoosePlaylistPath(InterpretCommandLine({}), settings, kDir), "");
  settings.start_with_last_playlist = 1;
  EXPECT_EQ(ChoosePlaylistPath(InterpretCommandLine({}), settings, kDir), "/music/last.m3u");
  EXPECT_EQ(ChoosePlaylistPath(InterpretCommandLine({"other.m3u"}), settings, kDir),
            kDir + "other.m3u");
}

}  // namespace
}  // namespace orvo

// The skin description: defaults that depend on the window size, the odd key
// spellings of the format and how the skin image path is resolved.
#include "core/skin_description.h"

#include <gtest/gtest.h>

#include <string>

#include "base/ini_file.h"
#include "tests/support/scratch_dir.h"

namespace orvo {
namespace {

std::string Row(const ButtonRowPlacement& row) {
  return std::to_string(row.x) + "," + std::to_string(row.y) + (row.vertical() ? " v " : " h ") +
         std::to_string(row.width) + "x" + std::to_string(row.height);
}

// Everything read from `text` ("-" for no file) for a window of the given
// size, as one line.
std::string Read(const std::string& text, int width = 400, int height = 100) {
  test::ScratchDir dir;
  if (text != "-") test::WriteBytes(dir.file("skin.ini"), text);
  IniFile file;
  file.open(dir.file("skin.ini"));
  SkinDescription skin;
  skin.ReadImage(file, "/opt/orvo/");
  skin.ReadLayout(file, width, height);
  file.close();
  return skin.imagePath + " | " + std::to_string(skin.displayx) + "," +
         std::to_string(skin.displayy) + " " + skin.color + " | " + Row(skin.control) + " | " +
         Row(skin.playerControl) + (skin.playerControlsExist() ? " shown" : " none") + " | " +
         std::to_string(skin.windowx) + "," + std::to_string(skin.windowy) + " glue " +
         std::to_string(skin.glue) + " size " + std::to_string(skin.buttonsize);
}

const std::string kDefaults =
    "/opt/orvo/skin.png | 100,10  | 40,35 h 300x35 | 280,35 h 100x35 shown | 0,0 glue 0 size 4";

TEST(SkinDescription, MissingFileOrKeys_DefaultsFollowWindowSize) {
  EXPECT_EQ(Read("-"), kDefaults);
  EXPECT_EQ(Read(""), kDefaults);
  // Odd sizes halve with truncation; a small window gives negative positions.
  EXPECT_EQ(Read("-", 401, 101), kDefaults);
  EXPECT_EQ(Read("-", 150, 5),
            "/opt/orvo/skin.png | -25,10  | 40,-13 h 300x35 | 280,-13 h 100x35 shown | 0,0 glue 0 size 4");
}

TEST(SkinDescription, EveryKeySet_ValuesTakenPerGroup) {
  EXPECT_EQ(Read("[playerskin]\nwindowskin = blue.png\n"
                 "[display]\ndisplayx = 7\ndisplayy = 8\ncolor = #ff8000\n"
                 "[control]\ncontrolx = 11\ncontroly = 12\ndirection = 0\nwidth = 13\nheigth = 14\n"
                 "[playercontrol]\nplayercontrolx = 21\nplayercontroly = 22\ndirection = 1\n"
                 "width = 23\nheigth = 24\nvisible = 1\n"
                 "[player]\nwindowx = 31\nwindowy = 32\nglue = 1\nbuttonsize = 2\n"),
            "/opt/orvo/blue.png | 7,8 #ff8000 | 11,12 h 13x14 | 21,22 v 23x24 shown | 31,32 glue 1 size 2");
}

TEST(SkinDescription, OddValues_ReadTheFormatsWay) {
  const struct {
    const char* text;
    const char* expected;
  } cases[] = {
      // Only the "heigth" spelling is read.
      {"[control]\nheight = 90\n[playercontrol]\nheight = 91\n", kDefaults.c_str()},
      {"[control]\nheigth = 90\n[playercontrol]\nheigth = 91\n",
       "/opt/orvo/skin.png | 100,10  | 40,35 h 300x90 | 280,35 h 100x91 shown | 0,0 glue 0 size 4"},
      // Numbers are read from their leading digits.
      {"[display]\ndisplayx = 12px\ndisplayy = abc\n",
       "/opt/orvo/skin.png | 12,0  | 40,35 h 300x35 | 280,35 h 100x35 shown | 0,0 glue 0 size 4"},
      // Any direction but 0 is vertical.
      {"[control]\ndirection = 5\n",
       "/opt/orvo/skin.png | 100,10  | 40,35 v 300x35 | 280,35 h 100x35 shown | 0,0 glue 0 size 4"},
      // The second row exists only for "visible = 1".
      {"[playercontrol]\nvisible = 1\n", kDefaults.c_str()},
      {"[playercontrol]\nvisible = 0\n",
       "/opt/orvo/skin.png | 100,10  | 40,35 h 300x35 | 280,35 h 100x35 none | 0,0 glue 0 size 4"},
      {"[playercontrol]\nvisible = 2\n",
       "/opt/orvo/skin.png | 100,10  | 40,35 h 300x35 | 280,35 h 100x35 none | 0,0 glue 0 size 4"},
      {"[playercontrol]\nvisible = -1\n",
       "/opt/orvo/skin.png | 100,10  | 40,35 h 300x35 | 280,35 h 100x35 none | 0,0 glue 0 size 4"},
      // "direction", "width" and "heigth" exist in both row groups; a present
      // group's values must not leak into the row of a missing one.
      {"[control]\ndirection = 1\nwidth = 50\nheigth = 60\n[player]\nglue = 3\n",
       "/opt/orvo/skin.png | 100,10  | 40,35 v 50x60 | 280,35 h 100x35 shown | 0,0 glue 3 size 4"},
      // The image name is read from [playerskin] only; empty gives the default.
      {"[playerskin]\nwindowskin =\n", kDefaults.c_str()},
      {"[display]\nwindowskin = x.png\n", kDefaults.c_str()},
      {"[playerskin]\nwindowskin = skins/v.png\n",
       "skins/v.png | 100,10  | 40,35 h 300x35 | 280,35 h 100x35 shown | 0,0 glue 0 size 4"},
  };
  for (const auto& c : cases) EXPECT_EQ(Read(c.text), c.expected) << c.text;
}

TEST(ResolveSkinImage, EmptyBareOrWithFolder_ResolvedByRule) {
  EXPECT_EQ(ResolveSkinImage("", "/opt/orvo/"), "/opt/orvo/skin.png");
  EXPECT_EQ(ResolveSkinImage("night.png", "/opt/orvo/"), "/opt/orvo/night.png");
  EXPECT_EQ(ResolveSkinImage("skins/night.png", "/opt/orvo/"), "skins/night.png");
  EXPECT_EQ(ResolveSkinImage("/srv/night.png", "/opt/orvo/"), "/srv/night.png");
  EXPECT_EQ(ResolveSkinImage("./night.png", "/opt/orvo/"), "./night.png");
  EXPECT_EQ(ResolveSkinImage("my skin.png", "/opt/my orvo/"), "/opt/my orvo/my skin.png");
}

}  // namespace
}  // namespace orvo

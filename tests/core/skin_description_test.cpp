#include "core/skin_description.h"

#include <gtest/gtest.h>

#include "base/ini_file.h"
#include "tests/support/scratch_dir.h"

namespace orvo {
namespace {

std::string Row(const ButtonRowPlacement& r) {
  return std::to_string(r.x) + "," + std::to_string(r.y) + (r.vertical() ? "v" : "h") +
         std::to_string(r.width) + "x" + std::to_string(r.height);
}

// Everything read from `text` (null: no file) for a window of the given size, as one line.
std::string Read(const char* text, int width, int height) {
  test::ScratchDir dir;
  if (text) test::WriteBytes(dir.file("skin.ini"), text);
  IniFile file;
  (void)file.open(dir.file("skin.ini"));
  SkinDescription s;
  s.ReadImage(file, "/opt/orvo/");
  s.ReadLayout(file, width, height);
  return s.imagePath + " " + std::to_string(s.displayx) + "," + std::to_string(s.displayy) +
         s.color + " " + Row(s.control) + " " + Row(s.playerControl) +
         (s.playerControlsExist() ? " " : " none ") + std::to_string(s.windowx) + "," +
         std::to_string(s.windowy) + " " + std::to_string(s.glue) + " " + std::to_string(s.buttonsize);
}

TEST(SkinDescription, Files_ReadGroupByGroupWithDefaultsFromTheWindowSize) {
  const std::string d = "/opt/orvo/skin.png 100,10 40,35h300x35 280,35h100x35 0,0 0 4";
  const struct {
    const char* text;
    int width, height;
    std::string expected;
  } rows[] = {
      {nullptr, 400, 100, d}, {"", 401, 101, d},
      {"", 150, 5, "/opt/orvo/skin.png -25,10 40,-13h300x35 280,-13h100x35 0,0 0 4"},
      {"[playerskin]\nwindowskin = blue.png\n[display]\ndisplayx = 7\ndisplayy = 8\ncolor = #f80\n"
       "[control]\ncontrolx = 11\ncontroly = 12\ndirection = 0\nwidth = 13\nheigth = 14\n"
       "[playercontrol]\nplayercontrolx = 21\nplayercontroly = 22\ndirection = 1\nwidth = 23\n"
       "heigth = 24\nvisible = 1\n[player]\nwindowx = 31\nwindowy = 32\nglue = 1\nbuttonsize = 2\n",
       400, 100, "/opt/orvo/blue.png 7,8#f80 11,12h13x14 21,22v23x24 31,32 1 2"},
      // Only the "heigth" spelling counts; numbers are read from their leading digits.
      {"[control]\nheight = 90\n[display]\ndisplayx = 12px\ndisplayy = abc\n", 400, 100,
       "/opt/orvo/skin.png 12,0 40,35h300x35 280,35h100x35 0,0 0 4"},
      // Any direction but 0 is vertical; a present row's keys stay out of a missing one's.
      {"[control]\ndirection = 5\nwidth = 50\nheigth = 60\n[player]\nglue = 3\n", 400, 100,
       "/opt/orvo/skin.png 100,10 40,35v50x60 280,35h100x35 0,0 3 4"},
      // The second row exists only for "visible = 1"; the image is named in [playerskin] only.
      {"[playercontrol]\nvisible = 2\n[playerskin]\nwindowskin = skins/v.png\n", 400, 100,
       "skins/v.png 100,10 40,35h300x35 280,35h100x35 none 0,0 0 4"},
      {"[playercontrol]\nvisible = 0\n[display]\nwindowskin = x.png\n", 400, 100,
       "/opt/orvo/skin.png 100,10 40,35h300x35 280,35h100x35 none 0,0 0 4"},
      {"[playerskin]\nwindowskin =\n", 400, 100, d},
  };
  for (const auto& r : rows) EXPECT_EQ(Read(r.text, r.width, r.height), r.expected) << r.text;
}

}  // namespace
}  // namespace orvo

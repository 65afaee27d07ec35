// The skin description: defaults that depend on the window size, the odd key
// spellings of the format and how the skin image path is resolved.
#include "ui/skin_description.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "app/ini_file.h"

namespace orvo {
namespace {

class SkinDescriptionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/orvo-skin-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = std::string(pattern) + "/";
  }
  void TearDown() override {
    std::remove(iniPath().c_str());
    rmdir(folder_.c_str());
  }
  std::string iniPath() const { return folder_ + "skin.ini"; }

  // Reads `text` as a skin description for a window of the given size.
  SkinDescription Read(const std::string& text, int width = 400, int height = 100) {
    std::ofstream(iniPath(), std::ios::binary) << text;
    return ReadFrom(iniPath(), width, height);
  }
  SkinDescription ReadFrom(const std::string& path, int width, int height) {
    IniFile file;
    file.open(path);
    SkinDescription skin;
    skin.ReadImage(file, "/opt/orvo/");
    skin.ReadLayout(file, width, height);
    file.close();
    return skin;
  }

  std::string folder_;
};

void ExpectRow(const ButtonRowPlacement& row, int x, int y, int direction, int width,
               int height) {
  EXPECT_EQ(row.x, x);
  EXPECT_EQ(row.y, y);
  EXPECT_EQ(row.direction, direction);
  EXPECT_EQ(row.width, width);
  EXPECT_EQ(row.height, height);
}

TEST_F(SkinDescriptionTest, ReadLayout_MissingFile_DefaultsFollowWindowSize) {
  SkinDescription skin = ReadFrom(folder_ + "none.ini", 400, 100);
  EXPECT_EQ(skin.imagePath, "/opt/orvo/skin.png");
  EXPECT_EQ(skin.displayx, 100);
  EXPECT_EQ(skin.displayy, 10);
  EXPECT_EQ(skin.color, "");
  ExpectRow(skin.control, 40, 35, 0, 300, 35);
  ExpectRow(skin.playerControl, 280, 35, 0, 100, 35);
  EXPECT_TRUE(skin.playerControlsExist());
  EXPECT_EQ(skin.windowx, 0);
  EXPECT_EQ(skin.windowy, 0);
  EXPECT_EQ(skin.glue, 0);
  EXPECT_EQ(skin.buttonsize, 4);

  // Odd sizes halve with truncation; a small window gives negative positions.
  skin = ReadFrom(folder_ + "none.ini", 401, 101);
  EXPECT_EQ(skin.displayx, 100);
  EXPECT_EQ(skin.control.y, 35);
  skin = ReadFrom(folder_ + "none.ini", 150, 5);
  EXPECT_EQ(skin.displayx, -25);
  EXPECT_EQ(skin.control.y, -13);
  EXPECT_EQ(skin.playerControl.y, -13);
}

TEST_F(SkinDescriptionTest, ReadLayout_EveryKeySet_ValuesTakenPerGroup) {
  const SkinDescription skin = Read(
      "[playerskin]\nwindowskin = blue.png\n"
      "[display]\ndisplayx = 7\ndisplayy = 8\ncolor = #ff8000\n"
      "[control]\ncontrolx = 11\ncontroly = 12\ndirection = 0\nwidth = 13\nheigth = 14\n"
      "[playercontrol]\nplayercontrolx = 21\nplayercontroly = 22\ndirection = 1\n"
      "width = 23\nheigth = 24\nvisible = 1\n"
      "[player]\nwindowx = 31\nwindowy = 32\nglue = 1\nbuttonsize = 2\n");
  EXPECT_EQ(skin.imagePath, "/opt/orvo/blue.png");
  EXPECT_EQ(skin.displayx, 7);
  EXPECT_EQ(skin.displayy, 8);
  EXPECT_EQ(skin.color, "#ff8000");
  ExpectRow(skin.control, 11, 12, 0, 13, 14);
  ExpectRow(skin.playerControl, 21, 22, 1, 23, 24);
  EXPECT_FALSE(skin.control.vertical());
  EXPECT_TRUE(skin.playerControl.vertical());
  EXPECT_EQ(skin.windowx, 31);
  EXPECT_EQ(skin.windowy, 32);
  EXPECT_EQ(skin.glue, 1);
  EXPECT_EQ(skin.buttonsize, 2);
}

TEST_F(SkinDescriptionTest, ReadLayout_OnlyHeigthSpellingIsRead) {
  SkinDescription skin = Read("[control]\nheight = 90\n[playercontrol]\nheight = 91\n");
  EXPECT_EQ(skin.control.height, 35);
  EXPECT_EQ(skin.playerControl.height, 35);
  skin = Read("[control]\nheigth = 90\n[playercontrol]\nheigth = 91\n");
  EXPECT_EQ(skin.control.height, 90);
  EXPECT_EQ(skin.playerControl.height, 91);
}

TEST_F(SkinDescriptionTest, ReadLayout_NumbersReadFromLeadingDigits) {
  const SkinDescription skin = Read("[display]\ndisplayx = 12px\ndisplayy = abc\n");
  EXPECT_EQ(skin.displayx, 12);
  EXPECT_EQ(skin.displayy, 0);
}

TEST_F(SkinDescriptionTest, ReadLayout_AnyNonZeroDirectionIsVertical) {
  const SkinDescription skin = Read("[control]\ndirection = 5\n");
  EXPECT_TRUE(skin.control.vertical());
  EXPECT_FALSE(skin.playerControl.vertical());
}

TEST_F(SkinDescriptionTest, ReadLayout_SecondRowExistsOnlyForVisibleOne) {
  EXPECT_FALSE(Read("[playercontrol]\nvisible = 0\n").playerControlsExist());
  EXPECT_TRUE(Read("[playercontrol]\nvisible = 1\n").playerControlsExist());
  EXPECT_FALSE(Read("[playercontrol]\nvisible = 2\n").playerControlsExist());
  EXPECT_FALSE(Read("[playercontrol]\nvisible = -1\n").playerControlsExist());
}

TEST_F(SkinDescriptionTest, ReadLayout_MissingGroupKeepsDefaultsAfterAnotherGroup) {
  // "direction", "width" and "heigth" exist in both row groups; the values
  // of a present group must not leak into the row of a missing one.
  const SkinDescription skin =
      Read("[control]\ndirection = 1\nwidth = 50\nheigth = 60\n[player]\nglue = 3\n");
  ExpectRow(skin.control, 40, 35, 1, 50, 60);
  ExpectRow(skin.playerControl, 280, 35, 0, 100, 35);
  EXPECT_TRUE(skin.playerControlsExist());
  EXPECT_EQ(skin.glue, 3);
}

TEST(ResolveSkinImageTest, ResolveSkinImage_EmptyBareOrWithFolder_ResolvedByRule) {
  EXPECT_EQ(ResolveSkinImage("", "/opt/orvo/"), "/opt/orvo/skin.png");
  EXPECT_EQ(ResolveSkinImage("night.png", "/opt/orvo/"), "/opt/orvo/night.png");
  EXPECT_EQ(ResolveSkinImage("skins/night.png", "/opt/orvo/"), "skins/night.png");
  EXPECT_EQ(ResolveSkinImage("/srv/night.png", "/opt/orvo/"), "/srv/night.png");
  EXPECT_EQ(ResolveSkinImage("./night.png", "/opt/orvo/"), "./night.png");
  EXPECT_EQ(ResolveSkinImage("my skin.png", "/opt/my orvo/"), "/opt/my orvo/my skin.png");
}

TEST_F(SkinDescriptionTest, ReadImage_ValueFromPlayerskinGroupOnly) {
  EXPECT_EQ(Read("[playerskin]\nwindowskin =\n").imagePath, "/opt/orvo/skin.png");
  EXPECT_EQ(Read("[display]\nwindowskin = x.png\n").imagePath, "/opt/orvo/skin.png");
  EXPECT_EQ(Read("[playerskin]\nwindowskin = skins/v.png\n").imagePath, "skins/v.png");
}

}  // namespace
}  // namespace orvo

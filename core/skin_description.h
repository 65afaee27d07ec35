#pragma once

#include <string>

namespace orvo {

class IniFile;

// Placement of one row of buttons inside the player window, in pixels.
struct ButtonRowPlacement {
  int x = 0;
  int y = 0;
  int direction = 0;  // 0 horizontal, anything else vertical
  int width = 0;
  int height = 0;

  bool vertical() const { return direction != 0; }
};

// The values of a skin description file. The file is read in two steps
// because the defaults of some positions depend on the window size, which is
// only known once the skin image has set the window's size request.
class SkinDescription {
 public:
  // Reads "windowskin" of group "playerskin" and resolves it into imagePath.
  void ReadImage(IniFile& file, const std::string& programDirectory);
  // Reads the groups "display", "control", "playercontrol" and "player";
  // `windowWidth` and `windowHeight` are the size the toolkit reports for the
  // window after the image size was requested.
  void ReadLayout(IniFile& file, int windowWidth, int windowHeight);

  // Whether the second row (open, playlists, preferences, quit) is built:
  // only for a "visible" value of exactly 1.
  bool playerControlsExist() const { return visible == 1; }

  std::string imagePath;
  int displayx = 0;
  int displayy = 10;
  std::string color;  // as written; empty or unparsable means black
  ButtonRowPlacement control{40, 0, 0, 300, 35};
  ButtonRowPlacement playerControl{280, 0, 0, 100, 35};
  int visible = 1;
  int windowx = 0;
  int windowy = 0;
  int glue = 0;        // 0: clicks on the window toggle its decorations
  int buttonsize = 4;  // a GtkIconSize
};

// Where the skin image lives: an empty value means "skin.png" beside the
// program, a bare name is taken from the program's folder, and anything with
// a "/" is used as written (relative to the working directory unless it
// starts with "/").
std::string ResolveSkinImage(const std::string& value, const std::string& programDirectory);

}  // namespace orvo

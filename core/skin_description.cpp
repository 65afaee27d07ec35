#include "core/skin_description.h"

#include "base/ini_file.h"

namespace orvo {
namespace {

// A group that is missing leaves every key of it at its default; checking the
// selection keeps reads from landing in whichever group was current before.
void ReadRow(IniFile& file, const char* group, const char* xKey, const char* yKey,
             ButtonRowPlacement& row) {
  if (!file.selectGroup(group)) return;
  row.x = file.readInteger(xKey, row.x);
  row.y = file.readInteger(yKey, row.y);
  row.direction = file.readInteger("direction", row.direction);
  row.width = file.readInteger("width", row.width);
  row.height = file.readInteger("heigth", row.height);
}

}  // namespace

std::string ResolveSkinImage(const std::string& value, const std::string& programDirectory) {
  if (value.empty()) return programDirectory + "skin.png";
  if (value.find('/') == std::string::npos) return programDirectory + value;
  return value;
}

void SkinDescription::ReadImage(IniFile& file, const std::string& programDirectory) {
  std::string value;
  if (file.selectGroup("playerskin")) value = file.readString("windowskin", std::string());
  imagePath = ResolveSkinImage(value, programDirectory);
}

void SkinDescription::ReadLayout(IniFile& file, int windowWidth, int windowHeight) {
  const int centreY = windowHeight / 2 - 15;
  displayx = windowWidth / 2 - 100;
  control.y = centreY;
  playerControl.y = centreY;

  if (file.selectGroup("display")) {
    displayx = file.readInteger("displayx", displayx);
    displayy = file.readInteger("displayy", displayy);
    color = file.readString("color", color);
  }
  ReadRow(file, "control", "controlx", "controly", control);
  ReadRow(file, "playercontrol", "playercontrolx", "playercontroly", playerControl);
  if (file.selectGroup("playercontrol")) visible = file.readInteger("visible", visible);
  if (file.selectGroup("player")) {
    windowx = file.readInteger("windowx", windowx);
    windowy = file.readInteger("windowy", windowy);
    glue = file.readInteger("glue", glue);
    buttonsize = file.readInteger("buttonsize", buttonsize);
  }
}

}  // namespace orvo

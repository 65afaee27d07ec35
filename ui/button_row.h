#pragma once

#include <gtk/gtk.h>

#include <initializer_list>
#include <vector>

namespace orvo {

struct ButtonRowPlacement;

// A row of flat icon buttons placed at an absolute position of the skin.
class ButtonRow {
 public:
  // Builds a horizontal or vertical box at `placement` inside `skinArea`
  // (a GtkFixed) with one button per stock icon, first at the left or top;
  // every icon at `iconSize` (a GtkIconSize). All of it is shown.
  ButtonRow(GtkWidget* skinArea, const ButtonRowPlacement& placement, int iconSize,
            std::initializer_list<const char*> stockIcons);

  GtkWidget* box() const { return box_; }
  // The buttons in packing order; owned by the box.
  const std::vector<GtkWidget*>& buttons() const { return buttons_; }

 private:
  GtkWidget* box_ = nullptr;
  std::vector<GtkWidget*> buttons_;
};

}  // namespace orvo

#include "ui/button_row.h"

#include <algorithm>

#include "base/latin1.h"
#include "core/skin_description.h"

namespace orvo {
namespace {

GtkWidget* NewIconButton(const char* stock, int iconSize) {
  GtkWidget* button = gtk_button_new();
  gtk_button_set_relief(GTK_BUTTON(button), GTK_RELIEF_NONE);
  GtkWidget* image =
      gtk_image_new_from_stock(ToUtf8(stock).c_str(), static_cast<GtkIconSize>(iconSize));
  gtk_container_add(GTK_CONTAINER(button), image);
  gtk_widget_show(image);
  gtk_widget_show(button);
  return button;
}

}  // namespace

ButtonRow::ButtonRow(GtkWidget* skinArea, const ButtonRowPlacement& placement, int iconSize,
                     std::initializer_list<const char*> stockIcons) {
  box_ = placement.vertical() ? gtk_vbox_new(FALSE, 0) : gtk_hbox_new(FALSE, 0);
  gtk_widget_show(box_);
  gtk_fixed_put(GTK_FIXED(skinArea), box_, placement.x, placement.y);
  // The toolkit rejects sizes below -1 (which means "unset").
  gtk_widget_set_size_request(box_, std::max(-1, placement.width), std::max(-1, placement.height));
  for (const char* stock : stockIcons) {
    GtkWidget* button = NewIconButton(stock, iconSize);
    gtk_box_pack_start(GTK_BOX(box_), button, FALSE, FALSE, 0);
    buttons_.push_back(button);
  }
}

}  // namespace orvo

#include "ui/status_icon.h"

#include "base/latin1.h"
#include "ui/optional_symbols.h"

namespace orvo {

StatusIcon::StatusIcon(const OptionalSymbols& symbols, std::function<void()> onActivate,
                       std::function<void()> onPopupMenu)
    : symbols_(symbols),
      onActivate_(std::move(onActivate)),
      onPopupMenu_(std::move(onPopupMenu)) {}

StatusIcon::~StatusIcon() {
  if (icon_ == nullptr) return;
  // The handlers point at this object, which is going away.
  g_signal_handlers_disconnect_matched(icon_, G_SIGNAL_MATCH_DATA, 0, 0, nullptr, nullptr, this);
  g_object_unref(icon_);
}

bool StatusIcon::Create(const std::string& imagePath) {
  if (icon_ != nullptr) return true;
  if (symbols_.gtk_status_icon_new_from_file == nullptr ||
      symbols_.gtk_status_icon_set_visible == nullptr) {
    return false;
  }
  icon_ = symbols_.gtk_status_icon_new_from_file(ToUtf8(imagePath).c_str());
  if (icon_ == nullptr) return false;
  g_signal_connect(icon_, "activate", G_CALLBACK(OnActivate), this);
  g_signal_connect(icon_, "popup-menu", G_CALLBACK(OnPopupMenu), this);
  symbols_.gtk_status_icon_set_visible(icon_, TRUE);
  return true;
}

void StatusIcon::SetTooltip(const std::string& latin1) {
  if (icon_ == nullptr || symbols_.gtk_status_icon_set_tooltip == nullptr) return;
  symbols_.gtk_status_icon_set_tooltip(icon_, ToUtf8(latin1).c_str());
}

void StatusIcon::OnActivate(GtkStatusIcon*, gpointer self) {
  static_cast<StatusIcon*>(self)->onActivate_();
}

void StatusIcon::OnPopupMenu(GtkStatusIcon*, guint, guint, gpointer self) {
  static_cast<StatusIcon*>(self)->onPopupMenu_();
}

}  // namespace orvo

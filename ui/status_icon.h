#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <string>

namespace orvo {

class OptionalSymbols;

// The player's icon in the desktop's notification area. Exists only when the
// toolkit offers the status-icon functions; every call is harmless without it.
class StatusIcon {
 public:
  // `onActivate` runs on a click on the icon, `onPopupMenu` when the desktop
  // asks for its menu.
  StatusIcon(const OptionalSymbols& symbols, std::function<void()> onActivate,
             std::function<void()> onPopupMenu);
  ~StatusIcon();
  StatusIcon(const StatusIcon&) = delete;
  StatusIcon& operator=(const StatusIcon&) = delete;

  // Creates the visible icon from `imagePath` (a missing file gives an icon
  // without a picture). False when the toolkit lacks the functions.
  bool Create(const std::string& imagePath);
  // 8-bit text; nothing happens without an icon.
  void SetTooltip(const std::string& latin1);

  GtkStatusIcon* icon() const { return icon_; }

 private:
  static void OnActivate(GtkStatusIcon*, gpointer self);
  static void OnPopupMenu(GtkStatusIcon*, guint, guint, gpointer self);

  const OptionalSymbols& symbols_;
  std::function<void()> onActivate_;
  std::function<void()> onPopupMenu_;
  GtkStatusIcon* icon_ = nullptr;  // owned reference
};

}  // namespace orvo

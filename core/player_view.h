#pragma once

#include <string>

typedef struct _GtkWidget GtkWidget;

namespace orvo {

// What playback needs of the player window. Implemented by the skinned
// player window; tests use a recording double.
class PlayerView {
 public:
  virtual ~PlayerView() = default;
  // The one-line display. Texts are UTF-8 (callers convert 8-bit texts).
  virtual void SetDisplayText(const std::string& utf8) = 0;
  virtual std::string DisplayText() const = 0;
  // The status icon's tooltip, 8-bit text; does nothing without a status icon.
  virtual void SetTooltip(const std::string& latin1) = 0;
  // The player window, parent of the engine's output window.
  virtual GtkWidget* WindowWidget() = 0;
  // Where "current Playlist" bubbles point: the open button, or nullptr
  // while the player is minimised or the skin has no such button.
  virtual GtkWidget* NotificationAnchor() = 0;
};

}  // namespace orvo

#pragma once

#include <gtk/gtk.h>

namespace orvo {

struct Settings;

// How the player window behaves towards the window manager.
namespace window_behaviour {

// Switches the window-manager frame on or off when `useWmDecorations` is
// exactly 1, keeping the window's top-left corner where it was. Always
// returns TRUE: the press is consumed either way.
gboolean ToggleDecorations(GtkWindow* window, bool useWmDecorations);

// Whether the window's GDK state has the iconified flag, whatever other flags
// are set with it. False for a window that is not realised.
bool IsIconified(GtkWidget* window);

// Restores a minimised window, minimises any other.
void ToggleMinimised(GtkWindow* window);

// Keep-above, keep-below and start minimised, each for a value of exactly 1,
// in that order; called once the window is shown.
void ApplyStacking(GtkWindow* window, const Settings& settings);

}  // namespace window_behaviour
}  // namespace orvo

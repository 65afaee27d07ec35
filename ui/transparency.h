#pragma once

#include <gtk/gtk.h>

namespace orvo {

class OptionalSymbols;

// Gives `window` the screen's RGBA colormap when there is one and returns
// whether it got it. Without one, a "No Alpha Support" box is shown first
// and the ordinary RGB colormap is used. Takes effect only on a window that
// is not realised yet.
bool CheckAlphaSupport(GtkWidget* window, const OptionalSymbols& symbols);

// Clears the whole window to practically transparent black (or practically
// black without alpha), replacing the pixels instead of blending, so the
// skin image drawn afterwards is blended over nothing but the desktop.
// Does nothing when the cairo functions are missing.
void PaintBackground(GtkWidget* window, const OptionalSymbols& symbols, bool alphaSupported);

}  // namespace orvo

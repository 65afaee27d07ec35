#include "ui/transparency.h"

#include "ui/dialogs/message_box.h"
#include "ui/optional_symbols.h"

namespace orvo {

bool CheckAlphaSupport(GtkWidget* window, const OptionalSymbols& symbols) {
  GdkScreen* screen = gtk_widget_get_screen(window);
  GdkColormap* colormap = symbols.gdk_screen_get_rgba_colormap != nullptr
                              ? symbols.gdk_screen_get_rgba_colormap(screen)
                              : nullptr;
  const bool alpha = colormap != nullptr;
  if (!alpha) {
    MessageBox("No Alpha Support", "Your Screen doesn't support an alpha channel...");
    colormap = gdk_screen_get_rgb_colormap(screen);
  }
  // A realised window keeps its colormap; the toolkit would only complain.
  if (!gtk_widget_get_realized(window)) gtk_widget_set_colormap(window, colormap);
  return alpha;
}

void PaintBackground(GtkWidget* window, const OptionalSymbols& symbols, bool alphaSupported) {
  if (!symbols.canPaint() || window->window == nullptr) return;
  cairo_t* cr = symbols.gdk_cairo_create(window->window);
  if (cr == nullptr) return;
  if (alphaSupported) {
    symbols.cairo_set_source_rgba(cr, 1.0 / 128, 0.0, 0.0, 1.0 / 128);
  } else {
    symbols.cairo_set_source_rgb(cr, 1.0 / 128, 0.0, 1.0 / 128);
  }
  symbols.cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  symbols.cairo_paint(cr);
  symbols.cairo_destroy(cr);
}

}  // namespace orvo

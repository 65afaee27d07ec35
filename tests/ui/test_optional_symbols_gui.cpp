// Resolving the optional functions, and a player window without them.
#include "tests/ui/gui_support.h"

namespace orvo::test {
namespace {

int CountResolved(const OptionalSymbols& s) {
  const void* entries[] = {
      reinterpret_cast<const void*>(s.gtk_window_set_icon_name),
      reinterpret_cast<const void*>(s.gtk_status_icon_new_from_file),
      reinterpret_cast<const void*>(s.gtk_status_icon_set_visible),
      reinterpret_cast<const void*>(s.gtk_status_icon_set_tooltip),
      reinterpret_cast<const void*>(s.gdk_screen_get_rgba_colormap),
      reinterpret_cast<const void*>(s.gdk_cairo_create),
      reinterpret_cast<const void*>(s.gdk_pixbuf_get_file_info),
      reinterpret_cast<const void*>(s.cairo_set_source_rgba),
      reinterpret_cast<const void*>(s.cairo_set_source_rgb),
      reinterpret_cast<const void*>(s.cairo_set_operator),
      reinterpret_cast<const void*>(s.cairo_paint),
      reinterpret_cast<const void*>(s.cairo_destroy),
  };
  int n = 0;
  for (const void* e : entries) n += e != nullptr;
  return n;
}

TEST(OptionalSymbolsGui, Resolve_FromRunningProgram_AllTwelveAreTheLinkedFunctions) {
  OptionalSymbols s;
  s.Resolve("/nonexistent/libgdk_pixbuf-2.0.so");
  EXPECT_EQ(CountResolved(s), 12);
  EXPECT_EQ(s.gdk_cairo_create, &gdk_cairo_create);
  EXPECT_EQ(s.cairo_paint, &cairo_paint);
  EXPECT_EQ(s.gtk_status_icon_set_tooltip, &gtk_status_icon_set_tooltip);
  EXPECT_TRUE(s.canPaint());
}

TEST(OptionalSymbolsGui, Resolve_OnlyByLibraryNames_EachSlotFromItsLibrary) {
  OptionalLibraries names;
  names.searchProgram = false;
  names.toolkit = "libgtk-x11-2.0.so.0";
  names.pixbufFallback = "/nonexistent/libgdk_pixbuf-2.0.so.0";
  names.cairo = "libcairo.so.2";
  OptionalSymbols s;
  // gdk-pixbuf alone has no GDK screen or cairo functions; its own entry is
  // found there, the two GDK ones stay empty.
  s.Resolve("libgdk_pixbuf-2.0.so.0", names);
  EXPECT_NE(s.gtk_window_set_icon_name, nullptr);
  EXPECT_NE(s.gtk_status_icon_set_tooltip, nullptr);
  EXPECT_NE(s.gdk_pixbuf_get_file_info, nullptr);
  EXPECT_EQ(s.gdk_screen_get_rgba_colormap, nullptr);
  EXPECT_EQ(s.gdk_cairo_create, nullptr);
  EXPECT_NE(s.cairo_destroy, nullptr);
  EXPECT_EQ(CountResolved(s), 10);
  EXPECT_FALSE(s.canPaint());

  // The fallback is opened when the colormap function is still missing.
  names.pixbufFallback = "libgdk-x11-2.0.so.0";
  s.Resolve("libgdk_pixbuf-2.0.so.0", names);
  EXPECT_NE(s.gdk_screen_get_rgba_colormap, nullptr);
  EXPECT_NE(s.gdk_cairo_create, nullptr);
  EXPECT_EQ(CountResolved(s), 12);
}

TEST(OptionalSymbolsGui, Build_NoOptionalFunctions_FeaturesDropButWindowWorks) {
  OptionalLibraries none;
  none.searchProgram = false;
  none.toolkit = "/nonexistent/a.so";
  none.pixbufFallback = "/nonexistent/b.so";
  none.cairo = "/nonexistent/c.so";
  PlayerFixture f;
  bool boxSeen = false;
  WhenShown("No Alpha Support", [&](GtkWidget* box) {
    boxSeen = true;
    gtk_dialog_response(GTK_DIALOG(box), GTK_RESPONSE_OK);
  });
  PlayerWindow& p = f.Build("", &none);
  EXPECT_EQ(CountResolved(f.symbols), 0);
  EXPECT_TRUE(boxSeen);  // without the colormap function there is no alpha
  EXPECT_FALSE(p.alphaSupported());
  EXPECT_EQ(p.statusIcon(), nullptr);
  p.SetTooltip("ignored");
  EXPECT_EQ(gtk_window_get_icon_name(GTK_WINDOW(p.window())), nullptr);
  EXPECT_EQ(PlacementOf(p.window()).width, -1);
  EXPECT_TRUE(gtk_widget_get_mapped(p.window()));
}

}  // namespace
}  // namespace orvo::test

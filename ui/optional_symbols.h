#pragma once

#include <gtk/gtk.h>

#include <memory>
#include <string>

namespace orvo {

// The names of the three slot libraries of OptionalSymbols, and whether the
// running program is searched first. Tests change them to check each way of
// resolving.
struct OptionalLibraries {
  bool searchProgram = true;
  std::string toolkit = "libgtk-x11-2.0.so";
  std::string pixbufFallback = "/usr/lib/libgdk_pixbuf-2.0.so.0";
  std::string cairo = "libcairo.so";
};

// Toolkit, gdk-pixbuf and cairo functions looked up by name at run time, so a
// system without one of them loses only the feature that needs it (status
// icon, window icon name, skin size, transparency). An entry that stays
// empty (nullptr) means "skip the feature".
//
// Each entry is looked up in the running program first: the executable links
// GTK, GDK and cairo (with --no-as-needed, so the libraries stay linked even
// though no direct call binds them). Only an entry the program does not
// provide is looked up in the library of its slot, opened by name with
// RTLD_LAZY | RTLD_GLOBAL. The slot names below are unversioned development
// names or a fixed /usr/lib path, which an ordinary multiarch system does not
// have, so without the first lookup every entry would stay empty there.
class OptionalSymbols {
 public:
  OptionalSymbols();
  ~OptionalSymbols();
  OptionalSymbols(const OptionalSymbols&) = delete;
  OptionalSymbols& operator=(const OptionalSymbols&) = delete;

  // Fills every entry. `foundPixbufLibrary` is the gdk-pixbuf library file the
  // library search found (empty when it found none); it is tried for slot 1
  // before the fixed fallback path.
  void Resolve(const std::string& foundPixbufLibrary) {
    Resolve(foundPixbufLibrary, OptionalLibraries());
  }
  void Resolve(const std::string& foundPixbufLibrary, const OptionalLibraries& libraries);

  // Slot 0: the toolkit.
  void (*gtk_window_set_icon_name)(GtkWindow*, const gchar*) = nullptr;
  GtkStatusIcon* (*gtk_status_icon_new_from_file)(const gchar*) = nullptr;
  void (*gtk_status_icon_set_visible)(GtkStatusIcon*, gboolean) = nullptr;
  void (*gtk_status_icon_set_tooltip)(GtkStatusIcon*, const gchar*) = nullptr;
  // Slot 1: GDK and gdk-pixbuf.
  GdkColormap* (*gdk_screen_get_rgba_colormap)(GdkScreen*) = nullptr;
  cairo_t* (*gdk_cairo_create)(GdkDrawable*) = nullptr;
  GdkPixbufFormat* (*gdk_pixbuf_get_file_info)(const gchar*, gint*, gint*) = nullptr;
  // Slot 2: cairo.
  void (*cairo_set_source_rgba)(cairo_t*, double, double, double, double) = nullptr;
  void (*cairo_set_source_rgb)(cairo_t*, double, double, double) = nullptr;
  void (*cairo_set_operator)(cairo_t*, cairo_operator_t) = nullptr;
  void (*cairo_paint)(cairo_t*) = nullptr;
  void (*cairo_destroy)(cairo_t*) = nullptr;

  // Whether everything that painting the transparent background needs is there.
  bool canPaint() const;

 private:
  struct LibraryCloser {
    void operator()(void* handle) const noexcept;
  };
  using LibraryHandle = std::unique_ptr<void, LibraryCloser>;

  static LibraryHandle Open(const char* name);
  template <typename F>
  void Lookup(F*& entry, const char* name, void* slot);
  void ResolvePixbufSlot(void* slot);

  LibraryHandle program_;
  LibraryHandle slots_[3];
};

}  // namespace orvo

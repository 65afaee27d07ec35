#include "ui/optional_symbols.h"

#include <dlfcn.h>

namespace orvo {

void OptionalSymbols::LibraryCloser::operator()(void* handle) const noexcept {
  dlclose(handle);
}

OptionalSymbols::OptionalSymbols() = default;

// The entries are used until the process ends, so the handles are closed only
// with this object; a library is never unloaded while the toolkit may still
// call into it because the program links the same libraries.
OptionalSymbols::~OptionalSymbols() = default;

OptionalSymbols::LibraryHandle OptionalSymbols::Open(const char* name) {
  return LibraryHandle(dlopen(name, RTLD_LAZY | RTLD_GLOBAL));
}

template <typename F>
void OptionalSymbols::Lookup(F*& entry, const char* name, void* slot) {
  entry = nullptr;
  for (void* handle : {program_.get(), slot}) {
    if (handle == nullptr) continue;
    dlerror();  // forget any earlier error so the check below is about this name
    void* address = dlsym(handle, name);
    if (dlerror() == nullptr && address != nullptr) {
      entry = reinterpret_cast<F*>(address);
      return;
    }
  }
}

void OptionalSymbols::ResolvePixbufSlot(void* slot) {
  Lookup(gdk_screen_get_rgba_colormap, "gdk_screen_get_rgba_colormap", slot);
  Lookup(gdk_cairo_create, "gdk_cairo_create", slot);
  Lookup(gdk_pixbuf_get_file_info, "gdk_pixbuf_get_file_info", slot);
}

void OptionalSymbols::Resolve(const std::string& foundPixbufLibrary, const OptionalLibraries& libraries) {
  program_ = libraries.searchProgram ? Open(nullptr) : LibraryHandle();

  slots_[0] = Open(libraries.toolkit.c_str());
  Lookup(gtk_window_set_icon_name, "gtk_window_set_icon_name", slots_[0].get());
  Lookup(gtk_status_icon_new_from_file, "gtk_status_icon_new_from_file", slots_[0].get());
  Lookup(gtk_status_icon_set_visible, "gtk_status_icon_set_visible", slots_[0].get());
  Lookup(gtk_status_icon_set_tooltip, "gtk_status_icon_set_tooltip", slots_[0].get());

  slots_[1] = foundPixbufLibrary.empty() ? LibraryHandle() : Open(foundPixbufLibrary.c_str());
  ResolvePixbufSlot(slots_[1].get());
  if (gdk_screen_get_rgba_colormap == nullptr) {
    LibraryHandle fallback = Open(libraries.pixbufFallback.c_str());
    if (fallback) {
      // Entries found in the first library may still point into it, so that
      // library is deliberately left loaded instead of being closed.
      (void)slots_[1].release();
      slots_[1] = std::move(fallback);
      ResolvePixbufSlot(slots_[1].get());
    }
  }

  slots_[2] = Open(libraries.cairo.c_str());
  Lookup(cairo_set_source_rgba, "cairo_set_source_rgba", slots_[2].get());
  Lookup(cairo_set_source_rgb, "cairo_set_source_rgb", slots_[2].get());
  Lookup(cairo_set_operator, "cairo_set_operator", slots_[2].get());
  Lookup(cairo_paint, "cairo_paint", slots_[2].get());
  Lookup(cairo_destroy, "cairo_destroy", slots_[2].get());
}

bool OptionalSymbols::canPaint() const {
  return gdk_cairo_create != nullptr && cairo_set_source_rgba != nullptr &&
         cairo_set_source_rgb != nullptr && cairo_set_operator != nullptr &&
         cairo_paint != nullptr && cairo_destroy != nullptr;
}

}  // namespace orvo

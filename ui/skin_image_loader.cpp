#include "ui/skin_image_loader.h"

#include <utility>

namespace orvo {

namespace {

// GLib deadlocks when one thread, inside a class initialisation, waits for a
// type that another thread is registering and whose registration adds an
// interface (GdkPixbuf is a GIcon): the second waits for the first's class
// lock. The toolkit's classes refer to gdk-pixbuf's types while the window is
// made, so those types are registered here, on the GUI thread, before any
// reading thread can be the first to need them.
void RegisterPixbufTypes() {
  g_type_ensure(GDK_TYPE_PIXBUF);
  g_type_ensure(GDK_TYPE_PIXBUF_ANIMATION);
  g_type_ensure(GDK_TYPE_PIXBUF_ANIMATION_ITER);
  g_type_ensure(GDK_TYPE_PIXBUF_SIMPLE_ANIM);
  g_type_ensure(GDK_TYPE_PIXBUF_LOADER);
}

}  // namespace

SkinImageLoader::SkinImageLoader(std::string imagePath) : imagePath_(std::move(imagePath)) {
  RegisterPixbufTypes();
  decoding_.Start([this] {
    animation_ = gdk_pixbuf_animation_new_from_file(imagePath_.c_str(), nullptr);
  });
}

SkinImageLoader::~SkinImageLoader() {
  decoding_.Wait();
  asking_.Wait();
  if (animation_ != nullptr) g_object_unref(animation_);
}

void SkinImageLoader::StartFileInfo(FileInfoFunction fileInfo) {
  if (fileInfo == nullptr) return;
  asking_.Start([this, fileInfo] { fileInfo(imagePath_.c_str(), &width_, &height_); });
}

GtkWidget* SkinImageLoader::CreateImage() {
  decoding_.Wait();
  // An unreadable file goes the toolkit's own way, which shows its
  // missing-image picture; the rest mirrors what that call does with a
  // picture it could read.
  if (animation_ == nullptr) return gtk_image_new_from_file(imagePath_.c_str());
  GtkWidget* image = gdk_pixbuf_animation_is_static_image(animation_)
                         ? gtk_image_new_from_pixbuf(gdk_pixbuf_animation_get_static_image(animation_))
                         : gtk_image_new_from_animation(animation_);
  g_object_unref(animation_);
  animation_ = nullptr;
  return image;
}

void SkinImageLoader::FileSize(gint* width, gint* height) const {
  asking_.Wait();
  *width = width_;
  *height = height_;
}

}  // namespace orvo

#include "ui/skin_image_loader.h"

#include <utility>

namespace orvo {

SkinImageLoader::SkinImageLoader(std::string imagePath) : imagePath_(std::move(imagePath)) {
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

#pragma once

#include <gtk/gtk.h>

#include <string>

#include "base/background_task.h"

namespace orvo {

// The skin image read on threads of its own: decoding the picture and asking
// the file for its size are the player window's only slow steps that do not
// need the toolkit, so they overlap the window's construction. The widget and
// the size are handed out on the GUI thread, each waiting for its read.
class SkinImageLoader {
 public:
  using FileInfoFunction = GdkPixbufFormat* (*)(const gchar*, gint*, gint*);

  // Starts decoding `imagePath` (a file name as the toolkit takes it).
  explicit SkinImageLoader(std::string imagePath);
  // Waits for both reads and releases a picture nobody took.
  ~SkinImageLoader();
  SkinImageLoader(const SkinImageLoader&) = delete;
  SkinImageLoader& operator=(const SkinImageLoader&) = delete;

  // Starts asking `fileInfo` (gdk_pixbuf_get_file_info, or nullptr when that
  // function is missing) for the width and height the file states.
  void StartFileInfo(FileInfoFunction fileInfo);

  // GUI thread: an image widget showing the file just as
  // gtk_image_new_from_file makes it (the still picture, the animation, or
  // the missing-image picture when the file cannot be read). Call once.
  GtkWidget* CreateImage();

  // What the size function wrote for the file (gdk-pixbuf leaves a missing
  // file alone and gives -1 for one it cannot place); 0 x 0 when nobody asked.
  void FileSize(gint* width, gint* height) const;

 private:
  std::string imagePath_;
  GdkPixbufAnimation* animation_ = nullptr;
  gint width_ = 0;
  gint height_ = 0;
  // Declared last, so that they are destroyed (waited for) first.
  BackgroundTask decoding_;
  BackgroundTask asking_;
};

}  // namespace orvo

// The skin image read on threads of its own: the widget and the size must be
// what the toolkit's own calls give for the same file.
#include <gtest/gtest.h>
#include <glib/gstdio.h>
#include <gtk/gtk.h>

#include <cstring>
#include <string>
#include <vector>

#include "ui/skin_image_loader.h"

namespace orvo {
namespace {

// A private folder for the test's pictures, removed with its files.
class PictureFolder {
 public:
  PictureFolder() : path_(g_dir_make_tmp("orvo-skin-XXXXXX", nullptr)) {}
  ~PictureFolder() {
    for (const std::string& file : files_) g_remove(file.c_str());
    g_rmdir(path_);
    g_free(path_);
  }
  PictureFolder(const PictureFolder&) = delete;
  PictureFolder& operator=(const PictureFolder&) = delete;

  std::string Write(const char* name, const std::string& bytes) {
    const std::string file = std::string(path_) + "/" + name;
    g_file_set_contents(file.c_str(), bytes.data(), static_cast<gssize>(bytes.size()), nullptr);
    files_.push_back(file);
    return file;
  }

  // A 37 x 23 picture with an alpha channel and a different value per pixel.
  std::string WritePng(const char* name) {
    GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, 37, 23);
    guchar* pixels = gdk_pixbuf_get_pixels(pixbuf);
    const int stride = gdk_pixbuf_get_rowstride(pixbuf);
    for (int y = 0; y < 23; ++y) {
      for (int x = 0; x < 37 * 4; ++x) pixels[y * stride + x] = static_cast<guchar>(x * 7 + y * 13);
    }
    const std::string file = std::string(path_) + "/" + name;
    gdk_pixbuf_save(pixbuf, file.c_str(), "png", nullptr, nullptr);
    g_object_unref(pixbuf);
    files_.push_back(file);
    return file;
  }

 private:
  gchar* path_;
  std::vector<std::string> files_;
};

// Two 1 x 1 frames, black then white, a tenth of a second each.
std::string TwoFrameGif() {
  static const unsigned char bytes[] = {
      'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0,  // screen, two colours
      0, 0, 0, 0xFF, 0xFF, 0xFF,                              // the colours
      0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 0, 0, 0,
      0x21, 0xF9, 4, 0, 10, 0, 0, 0, 0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 0x01, 0,
      0x21, 0xF9, 4, 0, 10, 0, 0, 0, 0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x4C, 0x01, 0,
      0x3B};
  return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

// Owns a widget that was never put into a container.
struct Widget {
  explicit Widget(GtkWidget* w) : widget(w) { if (w != nullptr) g_object_ref_sink(w); }
  ~Widget() {
    if (widget != nullptr) {
      gtk_widget_destroy(widget);
      g_object_unref(widget);
    }
  }
  GtkWidget* widget;
};

bool SamePixels(GdkPixbuf* a, GdkPixbuf* b) {
  if (gdk_pixbuf_get_width(a) != gdk_pixbuf_get_width(b) ||
      gdk_pixbuf_get_height(a) != gdk_pixbuf_get_height(b) ||
      gdk_pixbuf_get_rowstride(a) != gdk_pixbuf_get_rowstride(b) ||
      gdk_pixbuf_get_n_channels(a) != gdk_pixbuf_get_n_channels(b)) {
    return false;
  }
  const size_t bytes = static_cast<size_t>(gdk_pixbuf_get_rowstride(a)) *
                       static_cast<size_t>(gdk_pixbuf_get_height(a) - 1) +
                       static_cast<size_t>(gdk_pixbuf_get_width(a) * gdk_pixbuf_get_n_channels(a));
  return std::memcmp(gdk_pixbuf_get_pixels(a), gdk_pixbuf_get_pixels(b), bytes) == 0;
}

TEST(SkinImageLoaderGui, ReadablePicture_SamePixelsAndSizeAsTheToolkitsOwnCalls) {
  PictureFolder folder;
  const std::string png = folder.WritePng("skin.png");
  SkinImageLoader loader(png);
  loader.StartFileInfo(&gdk_pixbuf_get_file_info);
  const Widget ours(loader.CreateImage());
  const Widget theirs(gtk_image_new_from_file(png.c_str()));
  ASSERT_NE(ours.widget, nullptr);
  ASSERT_EQ(gtk_image_get_storage_type(GTK_IMAGE(ours.widget)), GTK_IMAGE_PIXBUF);
  ASSERT_EQ(gtk_image_get_storage_type(GTK_IMAGE(theirs.widget)), GTK_IMAGE_PIXBUF);
  EXPECT_TRUE(SamePixels(gtk_image_get_pixbuf(GTK_IMAGE(ours.widget)),
                         gtk_image_get_pixbuf(GTK_IMAGE(theirs.widget))));
  gint width = -1;
  gint height = -1;
  loader.FileSize(&width, &height);
  EXPECT_EQ(width, 37);
  EXPECT_EQ(height, 23);

  // Without the size function nobody asks: the size stays unknown.
  SkinImageLoader unasked(png);
  unasked.StartFileInfo(nullptr);
  unasked.FileSize(&width, &height);
  EXPECT_EQ(width, 0);
  EXPECT_EQ(height, 0);
}  // a loader whose picture nobody took releases it

TEST(SkinImageLoaderGui, UnreadableFile_MissingImagePictureAndTheSizeFunctionsAnswer) {
  PictureFolder folder;
  for (const std::string& path :
       {std::string("/nonexistent-orvo/skin.png"), folder.Write("text.png", "not a picture\n")}) {
    SkinImageLoader loader(path);
    loader.StartFileInfo(&gdk_pixbuf_get_file_info);
    const Widget image(loader.CreateImage());
    ASSERT_NE(image.widget, nullptr) << path;
    ASSERT_EQ(gtk_image_get_storage_type(GTK_IMAGE(image.widget)), GTK_IMAGE_STOCK) << path;
    gchar* stock = nullptr;
    gtk_image_get_stock(GTK_IMAGE(image.widget), &stock, nullptr);
    EXPECT_STREQ(stock, GTK_STOCK_MISSING_IMAGE) << path;
    // Whatever the size function says about such a file (gdk-pixbuf gives
    // -1 for a file it reads but cannot place, nothing for a missing one).
    gint expectedWidth = 0;
    gint expectedHeight = 0;
    gdk_pixbuf_get_file_info(path.c_str(), &expectedWidth, &expectedHeight);
    gint width = 5;
    gint height = 5;
    loader.FileSize(&width, &height);
    EXPECT_EQ(width, expectedWidth) << path;
    EXPECT_EQ(height, expectedHeight) << path;
  }
}

TEST(SkinImageLoaderGui, AnimatedPicture_StaysAnAnimationLikeTheToolkitsOwnCall) {
  PictureFolder folder;
  const std::string gif = folder.Write("skin.gif", TwoFrameGif());
  SkinImageLoader loader(gif);
  const Widget ours(loader.CreateImage());
  const Widget theirs(gtk_image_new_from_file(gif.c_str()));
  ASSERT_EQ(gtk_image_get_storage_type(GTK_IMAGE(theirs.widget)), GTK_IMAGE_ANIMATION);
  ASSERT_EQ(gtk_image_get_storage_type(GTK_IMAGE(ours.widget)), GTK_IMAGE_ANIMATION);
  GdkPixbufAnimation* animation = gtk_image_get_animation(GTK_IMAGE(ours.widget));
  EXPECT_EQ(gdk_pixbuf_animation_get_width(animation), 1);
  EXPECT_EQ(gdk_pixbuf_animation_get_height(animation), 1);
}

}  // namespace
}  // namespace orvo

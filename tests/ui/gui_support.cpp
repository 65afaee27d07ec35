#include "tests/ui/gui_support.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>

namespace orvo::test {

bool PumpUntil(const std::function<bool()>& done, int limitMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
  for (;;) {
    // Everything pending first, the low-priority redraws included: a check
    // that talks to the X server (a screenshot) must not starve them.
    while (g_main_context_iteration(nullptr, FALSE)) {
    }
    if (done()) return true;
    if (std::chrono::steady_clock::now() > end) return false;
    g_usleep(5000);
  }
}

void PumpFor(int ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  PumpUntil([&] { return std::chrono::steady_clock::now() > end; }, ms + 1000);
}

ProgramFolder::ProgramFolder() {
  char pattern[] = "/tmp/orvo ui test XXXXXX";  // blanks on purpose
  if (mkdtemp(pattern) != nullptr) path_ = std::string(pattern) + "/";
}

ProgramFolder::~ProgramFolder() {
  if (path_.empty()) return;
  const std::string command = "rm -rf '" + path_ + "'";
  if (std::system(command.c_str()) != 0) ADD_FAILURE() << "could not remove " << path_;
}

std::string ProgramFolder::Write(const std::string& name, const std::string& text) const {
  const std::string file = path_ + name;
  std::ofstream(file, std::ios::binary) << text;
  return file;
}

std::string ProgramFolder::WriteSkinImage(const std::string& name, int width, int height,
                                          int clearColumns, unsigned rgb) const {
  GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, width, height);
  gdk_pixbuf_fill(pixbuf, (rgb << 8) | 0xff);
  guchar* pixels = gdk_pixbuf_get_pixels(pixbuf);
  const int stride = gdk_pixbuf_get_rowstride(pixbuf);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < clearColumns && x < width; ++x) {
      guchar* p = pixels + y * stride + x * 4;
      p[0] = p[1] = p[2] = p[3] = 0;
    }
  }
  const std::string file = path_ + name;
  gdk_pixbuf_save(pixbuf, file.c_str(), "png", nullptr, nullptr);
  g_object_unref(pixbuf);
  return file;
}

std::vector<GtkWidget*> FindDialogs(const std::string& title) {
  std::vector<GtkWidget*> found;
  GList* toplevels = gtk_window_list_toplevels();
  for (GList* l = toplevels; l != nullptr; l = l->next) {
    GtkWidget* widget = GTK_WIDGET(l->data);
    const gchar* t = gtk_window_get_title(GTK_WINDOW(widget));
    if (GTK_IS_DIALOG(widget) && t != nullptr && title == t) found.push_back(widget);
  }
  g_list_free(toplevels);
  return found;
}

namespace {

struct PendingAnswer {
  std::string title;
  std::function<void(GtkWidget*)> inspect;
};

gboolean AnswerIfOpen(gpointer data) {
  auto* pending = static_cast<PendingAnswer*>(data);
  const std::vector<GtkWidget*> dialogs = FindDialogs(pending->title);
  if (dialogs.empty() || !gtk_widget_get_mapped(dialogs.front())) return TRUE;
  pending->inspect(dialogs.front());
  gtk_dialog_response(GTK_DIALOG(dialogs.front()), GTK_RESPONSE_OK);
  delete pending;
  return FALSE;
}

}  // namespace

void AnswerBoxLater(const std::string& title, std::function<void(GtkWidget*)> inspect) {
  g_timeout_add(20, AnswerIfOpen, new PendingAnswer{title, std::move(inspect)});
}

PlayerFixture::PlayerFixture(std::vector<std::string> driveNames) : drives(std::move(driveNames)) {
  folder.WriteSkinImage("skin.png", 400, 100);
}

PlayerWindow& PlayerFixture::Build(const std::string& text, const OptionalLibraries* libraries) {
  if (libraries != nullptr) {
    symbols.Resolve(std::string(), *libraries);
  } else {
    symbols.Resolve(std::string());
  }
  if (!text.empty()) folder.Write("orvo.ini", text);
  player = std::make_unique<PlayerWindow>(actions, drives, playlist, settings, symbols,
                                          folder.path());
  player->Build(folder.path() + "orvo.ini");
  PumpUntil([&] { return gtk_widget_get_mapped(player->window()); });
  return *player;
}

Box AllocationOf(GtkWidget* widget) {
  GtkAllocation a;
  gtk_widget_get_allocation(widget, &a);
  return Box{a.x, a.y, a.width, a.height};
}

unsigned ScreenPixel(int x, int y) {
  GdkPixbuf* shot = gdk_pixbuf_get_from_drawable(nullptr, gdk_get_default_root_window(), nullptr,
                                                 x, y, 0, 0, 1, 1);
  if (shot == nullptr) return 0xffffffffu;
  const guchar* p = gdk_pixbuf_get_pixels(shot);
  const unsigned rgb = (unsigned{p[0]} << 16) | (unsigned{p[1]} << 8) | p[2];
  g_object_unref(shot);
  return rgb;
}

}  // namespace orvo::test

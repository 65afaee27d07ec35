#include "ui/dialogs/save_chooser.h"

#include <gtk/gtk.h>

#include <memory>

namespace orvo {

namespace {
struct GFreeDeleter {
  void operator()(gchar* text) const noexcept { g_free(text); }
};
}  // namespace

std::optional<std::string> AskSavePlaylistName(GtkWidget* parent, const std::string& startFolder,
                                               const std::string& presetFile) {
  GtkWidget* dialog = gtk_file_chooser_dialog_new(
      "save Playlist as", parent != nullptr ? GTK_WINDOW(parent) : nullptr,
      GTK_FILE_CHOOSER_ACTION_SAVE, GTK_STOCK_CANCEL, GTK_RESPONSE_CANCEL, GTK_STOCK_SAVE,
      GTK_RESPONSE_ACCEPT, nullptr);
  GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
  gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_ACCEPT);
  gtk_file_chooser_set_do_overwrite_confirmation(chooser, FALSE);
  GtkFileFilter* filter = gtk_file_filter_new();
  gtk_file_filter_set_name(filter, "Playlist");
  gtk_file_filter_add_pattern(filter, "*.m3u");
  gtk_file_chooser_add_filter(chooser, filter);
  if (!presetFile.empty()) {
    gtk_file_chooser_set_filename(chooser, presetFile.c_str());
  } else if (!startFolder.empty()) {
    gtk_file_chooser_set_current_folder(chooser, startFolder.c_str());
  }

  std::optional<std::string> chosen;
  if (gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_ACCEPT) {
    std::unique_ptr<gchar, GFreeDeleter> name(gtk_file_chooser_get_filename(chooser));
    if (name) chosen = std::string(name.get());
  }
  gtk_widget_destroy(dialog);
  return chosen;
}

}  // namespace orvo

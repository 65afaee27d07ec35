#include "ui/dialogs/file_chooser.h"

#include <gtk/gtk.h>

#include <memory>

#include "playlist/file_filter_list.h"

namespace orvo {
namespace {

struct WidgetDestroyer {
  void operator()(GtkWidget* widget) const noexcept { gtk_widget_destroy(widget); }
};
using DialogPtr = std::unique_ptr<GtkWidget, WidgetDestroyer>;

void AddFilters(GtkFileChooser* chooser, const std::string& filterList, std::size_t selected) {
  const std::vector<FileFilter> filters = ParseFileFilterList(filterList);
  for (std::size_t i = 0; i < filters.size(); ++i) {
    // The chooser takes over the floating reference of each filter.
    GtkFileFilter* filter = gtk_file_filter_new();
    gtk_file_filter_set_name(filter, filters[i].name.c_str());
    for (const std::string& pattern : filters[i].patterns) {
      gtk_file_filter_add_pattern(filter, pattern.c_str());
    }
    gtk_file_chooser_add_filter(chooser, filter);
    if (i == selected) gtk_file_chooser_set_filter(chooser, filter);
  }
}

std::vector<std::string> TakeFileNames(GtkFileChooser* chooser) {
  std::vector<std::string> paths;
  GSList* names = gtk_file_chooser_get_filenames(chooser);
  for (GSList* item = names; item != nullptr; item = item->next) {
    auto* name = static_cast<gchar*>(item->data);
    paths.emplace_back(name);
    g_free(name);
  }
  g_slist_free(names);
  return paths;
}

}  // namespace

std::vector<std::string> RunFileChooser(const FileChooserRequest& request) {
  const GtkFileChooserAction action = request.action == FileChooserRequest::Action::kSelectFolder
                                          ? GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER
                                          : GTK_FILE_CHOOSER_ACTION_OPEN;
  DialogPtr dialog(gtk_file_chooser_dialog_new(request.title.c_str(), nullptr, action, "gtk-cancel",
                                               GTK_RESPONSE_CANCEL, "gtk-open", GTK_RESPONSE_ACCEPT,
                                               nullptr));
  GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog.get());
  gtk_dialog_set_default_response(GTK_DIALOG(dialog.get()), GTK_RESPONSE_ACCEPT);
  gtk_file_chooser_set_select_multiple(chooser, request.multiple);
  if (!request.startFolder.empty()) {
    gtk_file_chooser_set_current_folder(chooser, request.startFolder.c_str());
  }
  AddFilters(chooser, request.filterList, request.selectedFilter);

  if (gtk_dialog_run(GTK_DIALOG(dialog.get())) != GTK_RESPONSE_ACCEPT) return {};
  return TakeFileNames(chooser);
}

}  // namespace orvo

#include "ui/windows/playlist_manager_window.h"

#include <gtk/gtk.h>
#include <unistd.h>

#include "base/ascii.h"
#include "base/file_name.h"
#include "core/message_dialogs.h"
#include "core/notifier.h"
#include "core/program_paths.h"
#include "playlist/m3u.h"
#include "playlist/path_list.h"
#include "ui/dialogs/save_chooser.h"
#include "ui/fixed_layout.h"
#include "ui/windows/nested_loop.h"
#include "ui/windows/playlist_chooser.h"
#include "ui/windows/text_list_view.h"

namespace orvo {
namespace {

constexpr int kNotificationSeconds = 3;
constexpr int kNormalUrgency = 1;

struct ButtonEntry {
  const char* text;
  Geometry where;
};

// Indexed by the window's actions: search, clear, +, -, save, delete, exit.
constexpr ButtonEntry kButtons[] = {
    {"search", {10, 440, 100, 30}}, {"clear", {190, 440, 100, 30}}, {"+", {300, 150, 40, 40}},
    {"-", {300, 250, 40, 40}},      {"save", {350, 400, 80, 30}},   {"delete", {445, 400, 80, 30}},
    {"exit", {530, 440, 100, 30}},
};

}  // namespace

PlaylistManagerWindow::PlaylistManagerWindow(WindowContext& context,
                                             std::function<bool()> searchFolder)
    : context_(context), searchFolder_(std::move(searchFolder)) {
  for (int i = 0; i < kActionCount; ++i) bindings_[i] = {this, static_cast<Action>(i)};
}

PlaylistManagerWindow::~PlaylistManagerWindow() {
  if (window_ != nullptr) Close();
}

void PlaylistManagerWindow::Open() {
  if (window_ != nullptr) {
    gtk_window_present(GTK_WINDOW(window_));
    return;
  }
  aside_.Start(context_.playerWindow, context_.playerIconified());

  Build();
  chooser_->Fill(context_.paths.programDirectory);
  ShowCurrentPlaylist();
  context_.foundFiles.clear();
  gtk_window_move(GTK_WINDOW(window_), aside_.x(), aside_.y());
  gtk_widget_show_all(window_);

  NestedLoop loop;
  loop_ = &loop;
  // The selections made while opening count as changes of the chooser; they
  // are handled now, with the selection as it stands.
  g_signal_connect(chooser_->widget(), "changed", G_CALLBACK(OnChooserChanged), this);
  ChooserChanged();
  loop.Run();
  loop_ = nullptr;
  Close();
}

void PlaylistManagerWindow::Build() {
  window_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window_), "Manage Playlists");
  gtk_window_set_default_size(GTK_WINDOW(window_), 640, 480);
  SetBackground(window_, 208, 248, 172);
  fixed_ = gtk_fixed_new();
  gtk_container_add(GTK_CONTAINER(window_), fixed_);
  PlaceWidget(fixed_, gtk_label_new("Found files"), {10, 10, 200, 20});
  PlaceWidget(fixed_, gtk_label_new("Playlist(s)"), {350, 10, 200, 20});
  BuildLists();
  BuildButtons();
  g_signal_connect(window_, "delete-event", G_CALLBACK(OnDelete), this);
  g_signal_connect(window_, "destroy", G_CALLBACK(OnDestroy), this);
}

void PlaylistManagerWindow::BuildLists() {
  found_ = std::make_unique<TextListView>(
      std::initializer_list<TextListView::Column>{{"Filename", 200}, {"path", 150}},
      GTK_SELECTION_MULTIPLE);
  PlaceWidget(fixed_, found_->widget(), {10, 50, 280, 370});

  chooser_ = std::make_unique<PlaylistChooser>();
  PlaceWidget(fixed_, chooser_->widget(), {350, 50, 280, 30});

  content_ = std::make_unique<TextListView>(
      std::initializer_list<TextListView::Column>{{"content", 675}}, GTK_SELECTION_MULTIPLE);
  PlaceWidget(fixed_, content_->widget(), {350, 90, 280, 300});
  // GTK_DEST_DEFAULT_ALL also finishes the drop once the data has arrived.
  const GtkTargetEntry uriList{const_cast<gchar*>("text/uri-list"), 0, 0};
  gtk_drag_dest_set(content_->view(), GTK_DEST_DEFAULT_ALL, &uriList, 1, GDK_ACTION_COPY);
  g_signal_connect(content_->view(), "drag-data-received", G_CALLBACK(OnDragDataReceived), this);
}

void PlaylistManagerWindow::BuildButtons() {
  static_assert(sizeof(kButtons) / sizeof(kButtons[0]) == kActionCount, "one button per action");
  for (int i = 0; i < kActionCount; ++i) {
    buttons_[i] = gtk_button_new_with_label(kButtons[i].text);
    PlaceWidget(fixed_, buttons_[i], kButtons[i].where);
    g_signal_connect(buttons_[i], "clicked", G_CALLBACK(OnClicked), &bindings_[i]);
  }
}

void PlaylistManagerWindow::ShowCurrentPlaylist() {
  CurrentPlaylist& playlist = context_.playlist;
  if (playlist.filePath.empty()) return;
  chooser_->Select(chooser_->Find(playlist.filePath));
  if (playlist.empty()) return;
  playlist.reset();
  while (playlist.next()) content_->Append({playlist.current()});
}

void PlaylistManagerWindow::Perform(Action action) {
  switch (action) {
    case kSearch: Search(); break;
    case kClear: ClearFound(); break;
    case kAdd: AddSelected(); break;
    case kRemove: RemoveSelected(); break;
    case kSave: Save(); break;
    case kDelete: Delete(); break;
    case kExit: Leave(); break;
    case kActionCount: break;
  }
}

void PlaylistManagerWindow::Search() {
  // A cancelled folder chooser leaves foundFiles as the last search left it;
  // listing those files again would only duplicate rows, so nothing happens.
  if (!searchFolder_ || !searchFolder_() || window_ == nullptr) return;
  for (const std::string& path : context_.foundFiles.paths()) {
    const FolderAndName split = SplitFolderAndName(path);
    found_->Append({split.name, split.folder});
  }
  context_.notifier.ShowNotification(
      "Found files", "search has found " + std::to_string(context_.foundFiles.count()) + " files",
      kNotificationSeconds, kNormalUrgency, buttons_[kSearch], kNotificationIcon);
}

void PlaylistManagerWindow::ClearFound() {
  context_.foundFiles.clear();
  found_->Clear();
}

void PlaylistManagerWindow::AddSelected() {
  const std::vector<std::vector<std::string>> rows = found_->Rows();
  for (const std::size_t row : found_->SelectedRows()) {
    content_->Append({rows[row][1] + rows[row][0]});
  }
}

void PlaylistManagerWindow::RemoveSelected() { content_->RemoveSelected(); }

void PlaylistManagerWindow::ChooserChanged() {
  const int active = chooser_->Active();
  if (active < 0) return;
  content_->Clear();
  if (active == 0) return;
  PathList lines;
  // An unreadable file simply leaves the list empty.
  (void)ReadM3u(chooser_->ActiveText(), lines);
  for (const std::string& line : lines.paths()) content_->Append({line});
}

void PlaylistManagerWindow::Save() {
  PrepareSaveDefaults();
  const std::optional<std::string> chosen = AskSavePlaylistName(window_, saveFolder_, saveFile_);
  if (!chosen || window_ == nullptr) return;
  const std::string name = WithM3uExtension(*chosen);
  if (!EqualsIgnoringAsciiCase(name, chooser_->ActiveText())) addSavedFile_ = true;
  const std::vector<std::string> rows = ContentPaths();
  if (!WriteM3u(name, rows)) {
    context_.dialogs.ShowMessageDialog("Failed to create the Playlist %s", kMessageError,
                                       kButtonsOk, name);
    return;
  }
  context_.notifier.ShowNotification(
      "Saved", "there were " + std::to_string(rows.size()) + " files saved in the Playlist",
      kNotificationSeconds, kNormalUrgency, buttons_[kSave], kNotificationIcon);
  if (addSavedFile_ && window_ != nullptr) AddSavedFile(name);
}

void PlaylistManagerWindow::PrepareSaveDefaults() {
  const int active = chooser_->Active();
  if (active == 0) {
    saveFolder_ = context_.paths.programDirectory;
    saveFile_.clear();
    addSavedFile_ = true;
  } else if (active > 0) {
    saveFile_ = chooser_->ActiveText();
    addSavedFile_ = false;
  }
}

void PlaylistManagerWindow::AddSavedFile(const std::string& path) {
  // A file that is listed already is selected rather than listed twice.
  if (chooser_->Find(path) < 0) chooser_->Append(path);
  chooser_->Select(chooser_->Find(path));
}

void PlaylistManagerWindow::Delete() {
  const int active = chooser_->Active();
  const std::string text = chooser_->ActiveText();
  const MessageResponse answer = context_.dialogs.ShowMessageDialog(
      "this will really delete the playlist %s ?", kMessageWarning, kButtonsOkCancel, text);
  if (answer != kResponseOk || active < 1 || window_ == nullptr) return;
  // A failed deletion is not reported; the entry goes all the same.
  (void)unlink(text.c_str());
  chooser_->Remove(active);
  content_->Clear();
  chooser_->Select(0);
}

void PlaylistManagerWindow::DropUris(char** uris) {
  for (char** uri = uris; *uri != nullptr; ++uri) {
    gchar* path = g_filename_from_uri(*uri, nullptr, nullptr);
    if (path != nullptr) content_->Append({path});  // not a local file: ignored
    g_free(path);
  }
}

// The window's loop may lie below a song that started while it was open
// (the play button works meanwhile) and then ends only after that song.
// The user's "exit" must not wait for it: the window goes and the player
// comes back at once; the widgets are destroyed when the loop has ended.
void PlaylistManagerWindow::Leave() {
  if (window_ != nullptr) gtk_widget_hide(window_);
  aside_.Restore();
  if (loop_ != nullptr) loop_->Quit();
}

void PlaylistManagerWindow::Close() {
  context_.foundFiles.clear();
  GtkWidget* window = window_;
  window_ = nullptr;
  if (window != nullptr) gtk_widget_destroy(window);
  found_.reset();
  content_.reset();
  chooser_.reset();
  aside_.Restore();
}

std::vector<std::string> PlaylistManagerWindow::ContentPaths() const {
  std::vector<std::string> paths;
  for (const std::vector<std::string>& row : content_->Rows()) paths.push_back(row[0]);
  return paths;
}

void PlaylistManagerWindow::OnClicked(GtkButton*, gpointer binding) {
  const auto* bound = static_cast<const Binding*>(binding);
  bound->window->Perform(bound->action);
}

void PlaylistManagerWindow::OnChooserChanged(GtkComboBox*, gpointer self) {
  static_cast<PlaylistManagerWindow*>(self)->ChooserChanged();
}

gboolean PlaylistManagerWindow::OnDelete(GtkWidget*, GdkEvent*, gpointer self) {
  static_cast<PlaylistManagerWindow*>(self)->Perform(kExit);
  return TRUE;  // destroyed by Close() once the loop has ended
}

void PlaylistManagerWindow::OnDestroy(GtkWidget*, gpointer self) {
  // Destroyed from outside: leave the loop without touching the widgets.
  auto* window = static_cast<PlaylistManagerWindow*>(self);
  window->window_ = nullptr;
  if (window->loop_ != nullptr) window->loop_->Quit();
}

void PlaylistManagerWindow::OnDragDataReceived(GtkWidget*, GdkDragContext*, gint, gint,
                                               GtkSelectionData* data, guint, guint,
                                               gpointer self) {
  gchar** uris = gtk_selection_data_get_uris(data);
  if (uris == nullptr) return;
  static_cast<PlaylistManagerWindow*>(self)->DropUris(uris);
  g_strfreev(uris);
}

}  // namespace orvo

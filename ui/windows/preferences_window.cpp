#include "ui/windows/preferences_window.h"

#include <gtk/gtk.h>
#include <locale.h>
#include <string.h>

#include <cstring>

#include "base/file_name.h"
#include "base/folder_listing.h"
#include "base/latin1.h"
#include "core/message_dialogs.h"
#include "core/program_paths.h"
#include "core/settings.h"
#include "playlist/path_list.h"
#include "ui/fixed_layout.h"
#include "ui/windows/nested_loop.h"
#include "ui/windows/speed_field.h"

namespace orvo {
namespace {

enum class Kind { kCheck, kEntry, kLabel, kSkins, kButton };

struct ControlEntry {
  Kind kind;
  const char* text;
  Geometry where;
  bool Settings::*setting;  // the on/off setting a check box shows and edits
};

// Shown when the program could not be started with the new skin: the
// program's path and the system's reason.
constexpr const char* kRestartFailed = "Could not start %s with the new skin: %s";

// The system's reason in its untranslated form: a translation may hold
// characters the 8-bit dialog text cannot carry.
std::string ReasonText(int error) {
  const locale_t untranslated = newlocale(LC_ALL_MASK, "C", locale_t{});
  if (untranslated == locale_t{}) return std::strerror(error);
  std::string text = strerror_l(error, untranslated);
  freelocale(untranslated);
  return text;
}

constexpr int kWindowWidth = 440;
constexpr int kWindowHeight = 420;

// The controls in tab order.
constexpr ControlEntry kControls[PreferencesWindow::kControlCount] = {
    {Kind::kCheck, "Repeat playlist", {10, 10, 260, 20}, &Settings::repeat},
    {Kind::kCheck, "Play instantly after loading Playlist", {10, 40, 260, 20}, &Settings::instantplay},
    {Kind::kCheck, "Load last Playlist at startup", {10, 70, 260, 20}, &Settings::start_with_last_playlist},
    {Kind::kCheck, "Start player minimized", {10, 100, 260, 20}, &Settings::start_minimized},
    {Kind::kCheck, "Random Play", {10, 130, 260, 20}, &Settings::randomplay},
    {Kind::kCheck, "Cycle Title", {10, 160, 260, 20}, nullptr},
    {Kind::kEntry, nullptr, {280, 160, 30, 20}, nullptr},
    {Kind::kLabel, "(Speed: 1 - 10)", {320, 160, 150, 20}, nullptr},
    {Kind::kCheck, "Confirm on Exit if Playlist isn't saved", {10, 190, 270, 20}, &Settings::ask_on_exit},
    {Kind::kCheck, "Always stay on top", {10, 220, 260, 20}, &Settings::stay_top},
    {Kind::kCheck, "Always below everything", {10, 250, 260, 20}, &Settings::stay_bottom},
    {Kind::kCheck, "Use Window-Decorations", {10, 280, 260, 20}, &Settings::use_wm_decorations},
    {Kind::kCheck, "Use last used Skin", {10, 310, 260, 20}, nullptr},
    {Kind::kLabel, "Choose Skin", {10, 340, 260, 20}, nullptr},
    {Kind::kSkins, nullptr, {280, 340, 150, 30}, nullptr},
    {Kind::kButton, "exit", {330, kWindowHeight - 35, 100, 30}, nullptr},
};

constexpr int kCycleTitle = 5;
constexpr int kSpeed = 6;
constexpr int kSpeedHint = 7;
constexpr int kStayTop = 9;
constexpr int kStayBottom = 10;
constexpr int kDecorations = 11;
constexpr int kUseLastSkin = 12;
constexpr int kSkinList = 14;

}  // namespace

struct PreferencesWindow::Session {
  NestedLoop loop;
  bool closed = false;    // Finish() has closed the window
  bool keptSkin = true;   // what Open() returns
};

PreferencesWindow::PreferencesWindow(WindowContext& context, RestartProgram restart)
    : context_(context), restart_(std::move(restart)) {
  for (int i = 0; i < kControlCount; ++i) bindings_[i] = {this, i};
}

PreferencesWindow::~PreferencesWindow() {
  if (window_ != nullptr) gtk_widget_destroy(window_);
}

bool PreferencesWindow::Open() {
  if (window_ != nullptr) {
    gtk_window_present(GTK_WINDOW(window_));
    return false;
  }
  aside_.Start(context_.playerWindow, context_.playerIconified());

  Build();
  gtk_window_move(GTK_WINDOW(window_), aside_.x(), aside_.y());
  gtk_widget_show_all(window_);

  Session session;
  session_ = &session;
  session.loop.Run();
  if (session_ == &session) session_ = nullptr;
  // Destroyed from outside: the player is still to be restored.
  if (!session.closed) session.keptSkin = Close();
  return session.keptSkin;
}

void PreferencesWindow::Finish() {
  Session* session = session_;
  if (session == nullptr) return;
  // Closed here rather than after the loop has returned: a playback
  // started while the window was open runs inside this loop, which unwinds
  // only when that playback ends.
  session_ = nullptr;
  session->closed = true;
  session->keptSkin = Close();
  session->loop.Quit();
}

void PreferencesWindow::Build() {
  window_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window_), "Preferences");
  gtk_widget_set_size_request(window_, kWindowWidth, kWindowHeight);
  gtk_window_set_resizable(GTK_WINDOW(window_), FALSE);
  SetFrame(window_, static_cast<GdkWMDecoration>(GDK_DECOR_BORDER | GDK_DECOR_TITLE),
           static_cast<GdkWMFunction>(GDK_FUNC_MOVE | GDK_FUNC_CLOSE));
  SetBackground(window_, 208, 248, 172);
  GtkWidget* fixed = gtk_fixed_new();
  gtk_container_add(GTK_CONTAINER(window_), fixed);
  for (int i = 0; i < kControlCount; ++i) {
    controls_[i] = BuildControl(i);
    PlaceWidget(fixed, controls_[i], kControls[i].where);
  }
  SetSpeedSensitive(context_.settings.cycle_title != 0);
  // Connected only now, so that setting the start states acts on nothing.
  for (int i = 0; i < kControlCount; ++i) {
    if (kControls[i].kind == Kind::kCheck) {
      g_signal_connect(controls_[i], "toggled", G_CALLBACK(OnToggled), &bindings_[i]);
    }
  }
  g_signal_connect(controls_[kControlCount - 1], "clicked", G_CALLBACK(OnExit), this);
  g_signal_connect(window_, "delete-event", G_CALLBACK(OnDelete), this);
  g_signal_connect(window_, "destroy", G_CALLBACK(OnDestroy), this);
}

GtkWidget* PreferencesWindow::BuildControl(int control) {
  const ControlEntry& entry = kControls[control];
  GtkWidget* widget = nullptr;
  switch (entry.kind) {
    case Kind::kCheck: {
      widget = gtk_check_button_new_with_label(entry.text);
      bool on = context_.skinRemembered;
      if (entry.setting != nullptr) on = context_.settings.*entry.setting;
      if (control == kCycleTitle) on = context_.settings.cycle_title != 0;
      gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(widget), on);
      break;
    }
    case Kind::kEntry:
      widget = gtk_entry_new();
      gtk_entry_set_text(GTK_ENTRY(widget), std::to_string(context_.settings.cycle_time).c_str());
      break;
    case Kind::kLabel: widget = gtk_label_new(entry.text); break;
    case Kind::kSkins:
      widget = gtk_combo_box_text_new();
      controls_[control] = widget;
      FillSkins();
      break;
    case Kind::kButton: widget = gtk_button_new_with_label(entry.text); break;
  }
  return widget;
}

void PreferencesWindow::FillSkins() {
  GtkWidget* list = controls_[kSkinList];
  skins_ = FilesMatching(context_.paths.programDirectory, "*.ini");
  const std::string current = SplitFolderAndName(context_.skinFile).name;
  for (std::size_t i = 0; i < skins_.size(); ++i) {
    gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(list), ToUtf8(skins_[i]).c_str());
    if (skins_[i] == current) gtk_combo_box_set_active(GTK_COMBO_BOX(list), static_cast<gint>(i));
  }
}

void PreferencesWindow::Toggled(int control) {
  const bool on = IsChecked(control);
  Settings& settings = context_.settings;
  if (kControls[control].setting != nullptr) settings.*kControls[control].setting = on;
  switch (control) {
    case kCycleTitle:
      settings.cycle_title = on ? 1 : 0;
      settings.cycle_time = ParseSpeedField(gtk_entry_get_text(GTK_ENTRY(controls_[kSpeed])));
      SetSpeedSensitive(on);
      break;
    case kStayTop:
    case kStayBottom: StackingToggled(control, on); break;
    case kDecorations: {
      // Switching them on only allows the player's own toggle to show them.
      GtkWindow* player = GTK_WINDOW(context_.playerWindow);
      if (!on && gtk_window_get_decorated(player)) gtk_window_set_decorated(player, FALSE);
      break;
    }
    default: break;
  }
}

void PreferencesWindow::StackingToggled(int control, bool on) {
  // Above and below exclude each other; unchecking the other box runs its
  // own handler, which takes its keep request back.
  const int other = control == kStayTop ? kStayBottom : kStayTop;
  if (on) gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(controls_[other]), FALSE);
  GtkWindow* player = GTK_WINDOW(context_.playerWindow);
  if (control == kStayTop) {
    gtk_window_set_keep_above(player, context_.settings.stay_top);
  } else {
    gtk_window_set_keep_below(player, context_.settings.stay_bottom);
  }
}

bool PreferencesWindow::IsChecked(int control) const {
  return gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(controls_[control])) != FALSE;
}

void PreferencesWindow::SetSpeedSensitive(bool on) {
  gtk_widget_set_sensitive(controls_[kSpeed], on);
  gtk_widget_set_sensitive(controls_[kSpeedHint], on);
}

bool PreferencesWindow::Close() {
  bool skinChanged = false;
  const std::string skinInUse = context_.skinFile;
  if (window_ != nullptr) {
    Settings& settings = context_.settings;
    settings.cycle_time = ParseSpeedField(gtk_entry_get_text(GTK_ENTRY(controls_[kSpeed])));
    const int active = gtk_combo_box_get_active(GTK_COMBO_BOX(controls_[kSkinList]));
    if (active >= 0) {
      const std::string& chosen = skins_[static_cast<std::size_t>(active)];
      skinChanged = chosen != SplitFolderAndName(context_.skinFile).name;
      context_.skinFile = chosen;
    }
    context_.skinRemembered = IsChecked(kUseLastSkin);
    settings.use_last_skin = context_.skinRemembered ? context_.skinFile : std::string();
    // A file that cannot be written leaves the settings in force for this
    // run only; there is nobody to tell.
    (void)settings.SaveAll(context_.paths.programDirectory + kPreferencesFileName);
    GtkWidget* window = window_;
    window_ = nullptr;
    gtk_widget_destroy(window);
  }
  if (skinChanged && restart_) Restart(skinInUse);
  // Reached after a change of skin only when the restart failed (or was
  // only recorded): the player carries on with its old skin.
  aside_.Restore();
  return !skinChanged;
}

void PreferencesWindow::Restart(const std::string& skinInUse) {
  std::vector<std::string> arguments;
  // The new program starts in the program's folder, where a relative path
  // would name another file.
  if (!context_.playlist.filePath.empty()) {
    arguments.push_back(AbsolutePath(context_.playlist.filePath));
  }
  arguments.push_back(context_.skinFile);
  const int error = restart_(arguments, context_.paths.programDirectory);
  if (error == 0) return;
  // The player keeps the old skin, whose file keeps receiving the position.
  context_.skinFile = skinInUse;
  aside_.Restore();
  context_.dialogs.ShowMessageDialog(kRestartFailed, kMessageError, kButtonsOk,
                                     context_.paths.programPath, ReasonText(error));
}

void PreferencesWindow::OnToggled(GtkToggleButton*, gpointer binding) {
  const auto* bound = static_cast<const Binding*>(binding);
  bound->window->Toggled(bound->control);
}

void PreferencesWindow::OnExit(GtkButton*, gpointer self) {
  static_cast<PreferencesWindow*>(self)->Finish();
}

gboolean PreferencesWindow::OnDelete(GtkWidget*, GdkEvent*, gpointer self) {
  static_cast<PreferencesWindow*>(self)->Finish();
  return TRUE;  // already destroyed by Close()
}

void PreferencesWindow::OnDestroy(GtkWidget*, gpointer self) {
  // Destroyed from outside: nothing of the window can be read any more.
  auto* window = static_cast<PreferencesWindow*>(self);
  window->window_ = nullptr;
  if (window->session_ != nullptr) window->session_->loop.Quit();
}

}  // namespace orvo

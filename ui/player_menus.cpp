#include "ui/player_menus.h"

#include <string>

#include "base/latin1.h"
#include "core/cd_drives.h"
#include "core/player_actions.h"

namespace orvo {
namespace {

using Action = void (PlayerActions::*)();

// One row of a menu table: no text is a separator, no action an insensitive
// entry.
struct MenuEntry {
  const char* text;
  const char* stock;
  Action action;
};

constexpr MenuEntry kAddEntries[] = {
    {"File(s)", "gtk-file", &PlayerActions::AddFiles},
    {"Folder", "gtk-directory", &PlayerActions::AddFolder},
    {"Playlist", "gtk-about", &PlayerActions::LoadPlaylist},
    {nullptr, nullptr, nullptr},
};

constexpr MenuEntry kStatusIconEntries[] = {
    {nullptr, nullptr, nullptr},
    {"Play", "gtk-media-play", &PlayerActions::StartPlayback},
    {"Pause", "gtk-media-pause", &PlayerActions::TogglePause},
    {nullptr, nullptr, nullptr},
    {"Preferences", "gtk-preferences", &PlayerActions::OpenPreferences},
    {"manage Playlists", "gtk-convert", &PlayerActions::OpenPlaylistManager},
    {nullptr, nullptr, nullptr},
    {"Exit", "gtk-close", &PlayerActions::Quit},
    {nullptr, nullptr, nullptr},
    {"show Playlist", "gtk-info", &PlayerActions::ShowPlaylistWindow},
    {"Orvo M", nullptr, nullptr},
};

// What an entry runs; owned by the entry's signal connection.
struct Binding {
  PlayerActions* actions;
  Action action;  // null for a CD entry
  int drive;
};

void OnActivate(GtkMenuItem*, gpointer data) {
  // The action may run a nested main loop in which the menu is destroyed and
  // this binding freed, so everything needed is copied first.
  const Binding binding = *static_cast<Binding*>(data);
  if (binding.action != nullptr) {
    (binding.actions->*binding.action)();
  } else {
    binding.actions->PlayAudioCd(binding.drive);
  }
}

void FreeBinding(gpointer data, GClosure*) { delete static_cast<Binding*>(data); }

GtkWidget* AppendItem(GtkWidget* menu, const std::string& text, const char* stock) {
  GtkWidget* item = gtk_image_menu_item_new_with_mnemonic(ToUtf8(text).c_str());
  if (stock != nullptr) {
    GtkWidget* image = gtk_image_new_from_stock(ToUtf8(stock).c_str(), GTK_ICON_SIZE_MENU);
    gtk_image_menu_item_set_image(GTK_IMAGE_MENU_ITEM(item), image);
  }
  gtk_menu_shell_append(GTK_MENU_SHELL(menu), item);
  return item;
}

void Connect(GtkWidget* item, const Binding& binding) {
  g_signal_connect_data(item, "activate", G_CALLBACK(OnActivate), new Binding(binding),
                        FreeBinding, static_cast<GConnectFlags>(0));
}

template <size_t N>
void AppendTable(GtkWidget* menu, const MenuEntry (&table)[N], PlayerActions& actions) {
  for (const MenuEntry& entry : table) {
    if (entry.text == nullptr) {
      gtk_menu_shell_append(GTK_MENU_SHELL(menu), gtk_separator_menu_item_new());
      continue;
    }
    GtkWidget* item = AppendItem(menu, entry.text, entry.stock);
    if (entry.action == nullptr) {
      gtk_widget_set_sensitive(item, FALSE);
    } else {
      Connect(item, Binding{&actions, entry.action, 0});
    }
  }
}

gboolean DestroyLater(gpointer menu) {
  gtk_widget_destroy(GTK_WIDGET(menu));
  return FALSE;
}

// "deactivate" comes before the chosen entry's "activate", so the menu may
// only go once the toolkit has finished with it.
void OnDeactivate(GtkMenuShell* menu, gpointer) { g_idle_add(DestroyLater, menu); }

}  // namespace

void PlayerMenus::AppendCdEntries(GtkWidget* menu) {
  const int count = drives_.DriveCount();
  for (int i = 0; i < count; ++i) {
    // Selecting each drive to read its name leaves the last one current;
    // playing a CD selects its drive again.
    drives_.SelectDrive(i);
    GtkWidget* item = AppendItem(menu, drives_.DriveName(), "gtk-cdrom");
    Connect(item, Binding{&actions_, nullptr, i});
  }
}

void PlayerMenus::AppendAddEntries(GtkWidget* menu) {
  AppendTable(menu, kAddEntries, actions_);
  AppendCdEntries(menu);
}

GtkWidget* PlayerMenus::BuildAddMenu() {
  GtkWidget* menu = gtk_menu_new();
  AppendAddEntries(menu);
  return menu;
}

GtkWidget* PlayerMenus::BuildStatusIconMenu() {
  GtkWidget* menu = gtk_menu_new();
  AppendAddEntries(menu);
  AppendTable(menu, kStatusIconEntries, actions_);
  return menu;
}

void PlayerMenus::PopUp(GtkWidget* menu, guint button) {
  g_signal_connect(menu, "deactivate", G_CALLBACK(OnDeactivate), nullptr);
  gtk_menu_popup(GTK_MENU(menu), nullptr, nullptr, nullptr, nullptr, button, 0);
  gtk_widget_show_all(menu);
  gtk_menu_reposition(GTK_MENU(menu));
}

}  // namespace orvo

#include "ui/windows/preferences_window.h"

#include "tests/ui/gui_support.h"

namespace orvo::test {
namespace {

// Every control in tab order, at its place, showing its setting; each box
// acting at once, "on top" and "below" excluding each other for the player
// too; "exit" saving with the speed clamped and bringing the player back.
TEST_F(WindowFixture, Preferences_BoxesActAtOnceAndExitSaves) {
  for (const char* name : {"b.ini", "c.INI"}) WriteBytes(dir + name, "");
  settings.repeat = settings.ask_on_exit = settings.stay_bottom = skinRemembered = true;
  settings.cycle_title = 0;
  skinFile = dir + "b.ini";
  PreferencesWindow preferences(context, nullptr);
  RunWindow("Preferences", [&] { EXPECT_TRUE(preferences.Open()); }, [&](GtkWidget* window) {
    auto controls = [&] {
      std::vector<std::string> described;
      for (GtkWidget* w : FindAll(window, GTK_TYPE_WIDGET)) if (GTK_IS_FIXED(w->parent)) described.push_back(Describe(w));
      return described;
    };
    EXPECT_EQ(controls(), (std::vector<std::string>{"Repeat playlist 10,10 260x20 [x]",
        "Play instantly after loading Playlist 10,40 260x20 [ ]", "Load last Playlist at startup 10,70 260x20 [ ]",
        "Start player minimized 10,100 260x20 [ ]", "Random Play 10,130 260x20 [ ]", "Cycle Title 10,160 260x20 [ ]",
        "GtkEntry 280,160 30x20 (off)", "(Speed: 1 - 10) 320,160 150x20 (off)",
        "Confirm on Exit if Playlist isn't saved 10,190 270x20 [x]", "Always stay on top 10,220 260x20 [ ]",
        "Always below everything 10,250 260x20 [x]", "Use Window-Decorations 10,280 260x20 [ ]",
        "Use last used Skin 10,310 260x20 [x]", "Choose Skin 10,340 260x20", "GtkComboBoxText 280,340 150x30",
        "exit 330,385 100x30"}));
    EXPECT_EQ(gtk_combo_box_get_active_text(GTK_COMBO_BOX(FindAll(window, GTK_TYPE_COMBO_BOX)[0])), std::string("b.ini"));
    gint x = 0, y = 0;
    gtk_window_get_position(GTK_WINDOW(window), &x, &y);
    EXPECT_TRUE(x == 123 && y == 77 && PlayerIs(GDK_WINDOW_STATE_ICONIFIED));
    const std::vector<GtkWidget*> boxes = FindAll(window, GTK_TYPE_CHECK_BUTTON);
    for (int box : {0, 1, 2, 3, 4, 6, 7, 9, 9}) gtk_button_clicked(GTK_BUTTON(boxes[box]));
    EXPECT_EQ(std::vector<bool>({settings.repeat, settings.instantplay, settings.start_with_last_playlist,
                                 settings.start_minimized, settings.randomplay, settings.ask_on_exit, settings.stay_top,
                                 settings.stay_bottom, settings.use_wm_decorations}),
              std::vector<bool>({false, true, true, true, true, false, true, false, false}));
    EXPECT_TRUE(PlayerIs(GDK_WINDOW_STATE_ABOVE) && !PlayerIs(GDK_WINDOW_STATE_BELOW) && !GTK_TOGGLE_BUTTON(boxes[8])->active);
    EXPECT_FALSE(gtk_window_get_decorated(GTK_WINDOW(player))) << "decorations forbidden go at once";
    gtk_button_clicked(GTK_BUTTON(boxes[8]));
    EXPECT_TRUE(PlayerIs(GDK_WINDOW_STATE_BELOW) && !PlayerIs(GDK_WINDOW_STATE_ABOVE) && !settings.stay_top);
    gtk_entry_set_text(GTK_ENTRY(FindAll(window, GTK_TYPE_ENTRY)[0]), "$a");
    gtk_button_clicked(GTK_BUTTON(boxes[5]));
    EXPECT_EQ(settings.cycle_title * 100 + settings.cycle_time, 110);
    EXPECT_EQ(controls()[6] + " " + controls()[7], "GtkEntry 280,160 30x20 (Speed: 1 - 10) 320,160 150x20");
    gtk_entry_set_text(GTK_ENTRY(FindAll(window, GTK_TYPE_ENTRY)[0]), "25");
  });
  EXPECT_EQ(settings.cycle_time, 10);
  EXPECT_NE(ReadBytes(dir + "orvo.prefs").find("\ncycle_time = 10\n"), std::string::npos);
  EXPECT_FALSE(PlayerIs(GDK_WINDOW_STATE_ICONIFIED));
}

}  // namespace
}  // namespace orvo::test

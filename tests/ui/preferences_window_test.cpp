#include "ui/windows/preferences_window.h"

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>

#include "tests/ui/gui_support.h"

namespace orvo::test {
namespace {

struct Restart {
  std::vector<std::string> arguments;
  std::string workingFolder;
};

class PreferencesTest : public WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    for (const char* name : {"orvo.ini", "b.ini", "c.INI", "notes.txt"}) WriteBytes(Dir() + name, "");
    ASSERT_EQ(mkdir((Dir() + "folder.ini").c_str(), 0700), 0);
  }

  // Opens the window, runs `steps` once it is shown, then presses "exit" or
  // sends the close request. Gives Open()'s result.
  bool Run(const std::function<void(GtkWidget* window, const std::vector<GtkWidget*>& controls)>& steps,
           bool closeBox = false) {
    bool result = false;
    RunWindow(
        "Preferences", [&] { result = preferences.Open(); },
        [&](GtkWidget* window) {
          const std::vector<GtkWidget*> controls = Children(FixedOf(window));
          ASSERT_EQ(controls.size(), 16u);
          steps(window, controls);
        },
        closeBox ? nullptr : "exit");
    return result;
  }

  std::string PrefsFile() const { return ReadBytes(Dir() + "orvo.prefs"); }

  static void Click(GtkWidget* control) { gtk_button_clicked(GTK_BUTTON(control)); }
  static bool Checked(GtkWidget* box) { return gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(box)); }
  static void Type(GtkWidget* entry, const char* text) { gtk_entry_set_text(GTK_ENTRY(entry), text); }

  std::vector<Restart> restarts;
  int restartError = 0;  // what the restart answers; 0: the new program runs
  PreferencesWindow preferences{context, [this](const std::vector<std::string>& arguments,
                                                const std::string& workingFolder) {
                                  restarts.push_back({arguments, workingFolder});
                                  return restartError;
                                }};
};

TEST_F(PreferencesTest, Open_EveryControlInOrderWithTextPlaceAndState) {
  settings.repeat = 1;
  settings.start_with_last_playlist = 1;
  settings.randomplay = 1;
  settings.cycle_title = 0;
  settings.cycle_time = 7;
  settings.ask_on_exit = 1;
  settings.stay_bottom = 1;
  settings.use_wm_decorations = 1;
  skinRemembered = true;
  skinFile = Dir() + "b.ini";
  std::vector<std::string> skins;
  for (const std::string& name : ListedInFolder(Dir(), ".ini")) {
    if (name != "folder.ini") skins.push_back(name);
  }
  Run([&](GtkWidget* window, const std::vector<GtkWidget*>& controls) {
    // "Cycle Title" is off: the speed field and its hint are disabled.
    EXPECT_EQ(DescribeAll(FixedOf(window)),
              (std::vector<std::string>{
                  "GtkCheckButton Repeat playlist 10,10 260x20 [x]",
                  "GtkCheckButton Play instantly after loading Playlist 10,40 260x20 [ ]",
                  "GtkCheckButton Load last Playlist at startup 10,70 260x20 [x]",
                  "GtkCheckButton Start player minimized 10,100 260x20 [ ]",
                  "GtkCheckButton Random Play 10,130 260x20 [x]",
                  "GtkCheckButton Cycle Title 10,160 260x20 [ ]",
                  "GtkEntry 7 280,160 30x20 (off)",
                  "GtkLabel (Speed: 1 - 10) 320,160 150x20 (off)",
                  "GtkCheckButton Confirm on Exit if Playlist isn't saved 10,190 270x20 [x]",
                  "GtkCheckButton Always stay on top 10,220 260x20 [ ]",
                  "GtkCheckButton Always below everything 10,250 260x20 [x]",
                  "GtkCheckButton Use Window-Decorations 10,280 260x20 [x]",
                  "GtkCheckButton Use last used Skin 10,310 260x20 [x]",
                  "GtkLabel Choose Skin 10,340 260x20",
                  "GtkComboBoxText  280,340 150x30",
                  "GtkButton exit 330,385 100x30"}));
    GtkComboBox* list = GTK_COMBO_BOX(controls[14]);
    const std::vector<std::string> entries = ColumnTexts(list);
    EXPECT_EQ(entries, skins);
    const int active = gtk_combo_box_get_active(list);
    ASSERT_GE(active, 0);
    EXPECT_EQ(entries[static_cast<std::size_t>(active)], "b.ini");

    EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(window)), "Preferences");
    EXPECT_FALSE(gtk_window_get_resizable(GTK_WINDOW(window)));
    gint x = 0, y = 0;
    gtk_window_get_position(GTK_WINDOW(window), &x, &y);
    EXPECT_EQ(x, kPlayerX);
    EXPECT_EQ(y, kPlayerY);
    EXPECT_TRUE(WaitForSize(window, 440, 420));
    EXPECT_EQ(Decorations(window), GDK_DECOR_BORDER | GDK_DECOR_TITLE);
    EXPECT_EQ(RequestedFunctions(window), GDK_FUNC_MOVE | GDK_FUNC_CLOSE);
    EXPECT_EQ(Background(window), 0xd0f8acu);
  });
}

TEST_F(PreferencesTest, CheckBoxes_StoreTheirStateAtOnce) {
  struct Box {
    std::size_t control;
    bool Settings::*setting;
  };
  const Box boxes[] = {{0, &Settings::repeat},     {1, &Settings::instantplay},
                       {2, &Settings::start_with_last_playlist},
                       {3, &Settings::start_minimized}, {4, &Settings::randomplay},
                       {8, &Settings::ask_on_exit}};
  settings.stay_bottom = 1;
  settings.use_wm_decorations = 1;
  gtk_window_set_decorated(GTK_WINDOW(player), TRUE);
  Run([&](GtkWidget*, const std::vector<GtkWidget*>& controls) {
    for (const Box& box : boxes) {
      Click(controls[box.control]);
      EXPECT_EQ(settings.*box.setting, 1) << box.control + 1;
    }
    Click(controls[2]);
    EXPECT_EQ(settings.start_with_last_playlist, 0);
    EXPECT_EQ(settings.repeat, 1) << "each box edits only its own setting";

    // Checking "on top" or "below" unchecks the other; unchecking one leaves
    // the other alone.
    Click(controls[9]);
    EXPECT_EQ(settings.stay_top, 1);
    EXPECT_EQ(settings.stay_bottom, 0);
    EXPECT_FALSE(Checked(controls[10]));
    Click(controls[10]);
    EXPECT_EQ(settings.stay_bottom, 1);
    EXPECT_EQ(settings.stay_top, 0);
    EXPECT_FALSE(Checked(controls[9]));
    Click(controls[10]);
    EXPECT_EQ(settings.stay_bottom, 0);
    EXPECT_EQ(settings.stay_top, 0);

    // Decorations switched off go at once; switched on they do not come back.
    Click(controls[11]);
    EXPECT_EQ(settings.use_wm_decorations, 0);
    EXPECT_FALSE(gtk_window_get_decorated(GTK_WINDOW(player)));
    Click(controls[11]);
    EXPECT_EQ(settings.use_wm_decorations, 1);
    EXPECT_FALSE(gtk_window_get_decorated(GTK_WINDOW(player)));
  });
}

TEST_F(PreferencesTest, CycleTitle_StoresStateAndSpeedFieldAndEnablesTheField) {
  Run([&](GtkWidget*, const std::vector<GtkWidget*>& controls) {
    ASSERT_TRUE(Checked(controls[5]));
    EXPECT_TRUE(gtk_widget_get_sensitive(controls[6]));
    Type(controls[6], "$a");
    Click(controls[5]);
    EXPECT_EQ(settings.cycle_title, 0);
    EXPECT_EQ(settings.cycle_time, 10);
    EXPECT_FALSE(gtk_widget_get_sensitive(controls[6]));
    EXPECT_FALSE(gtk_widget_get_sensitive(controls[7]));
    Type(controls[6], "%11");
    Click(controls[5]);
    EXPECT_EQ(settings.cycle_title, 1);
    EXPECT_EQ(settings.cycle_time, 3);
    EXPECT_TRUE(gtk_widget_get_sensitive(controls[6]));
    EXPECT_TRUE(gtk_widget_get_sensitive(controls[7]));
    Type(controls[6], "42");
    Click(controls[5]);
    EXPECT_EQ(settings.cycle_time, 42) << "no range check until the file is written";
  });
}

TEST_F(PreferencesTest, Exit_WritesTwelveKeysWithTheSpeedClamped) {
  settings.last_one = "/music/last.m3u";
  settings.instantplay = 1;
  skinRemembered = true;
  EXPECT_TRUE(Run([&](GtkWidget*, const std::vector<GtkWidget*>& controls) {
    Type(controls[6], "25");
  }));
  EXPECT_EQ(settings.cycle_time, 10);
  EXPECT_EQ(PrefsFile(),
            "repeat = 0\ninstantplay = 1\nstart_with_last_playlist = 0\nstart_minimized = 0\n"
            "randomplay = 0\ncycle_title = 1\ncycle_time = 10\nask_on_exit = 0\nstay_top = 0\n"
            "stay_bottom = 0\nuse_wm_decorations = 0\nuse_last_skin = orvo.ini\n");
  EXPECT_TRUE(skinRemembered);

  Run([&](GtkWidget*, const std::vector<GtkWidget*>& controls) { Type(controls[6], "0"); });
  EXPECT_EQ(settings.cycle_time, 1);
  EXPECT_NE(PrefsFile().find("\ncycle_time = 1\n"), std::string::npos);
  Run([&](GtkWidget*, const std::vector<GtkWidget*>& controls) { Type(controls[6], "fast"); });
  EXPECT_EQ(settings.cycle_time, 1) << "a text without digits gives 1 after clamping";
}

TEST_F(PreferencesTest, UseLastSkinUnchecked_WritesEmptyValueAndForgetsTheSkin) {
  skinRemembered = true;
  settings.use_last_skin = "orvo.ini";
  Run([&](GtkWidget*, const std::vector<GtkWidget*>& controls) {
    Click(controls[12]);
    EXPECT_TRUE(skinRemembered) << "read only when the window closes";
  });
  EXPECT_FALSE(skinRemembered);
  EXPECT_EQ(settings.use_last_skin, "");
  const std::string file = PrefsFile();
  EXPECT_EQ(file.substr(file.rfind("use_last_skin")), "use_last_skin = \n");
}

TEST_F(PreferencesTest, SkinChanged_RestartsWithPlaylistAndSkinAsSeparateArguments) {
  playlist.filePath = "/music dir/my list.m3u";
  skinRemembered = true;
  const auto chooseB = [&](GtkWidget*, const std::vector<GtkWidget*>& controls) {
    GtkComboBox* list = GTK_COMBO_BOX(controls[14]);
    const std::vector<std::string> names = ListedInFolder(Dir(), ".ini");
    int index = 0;
    for (const std::string& name : names) {
      if (name == "b.ini") break;
      if (name != "folder.ini") ++index;
    }
    gtk_combo_box_set_active(list, index);
  };
  EXPECT_FALSE(Run(chooseB));
  ASSERT_EQ(restarts.size(), 1u);
  EXPECT_EQ(restarts[0].arguments, (std::vector<std::string>{"/music dir/my list.m3u", "b.ini"}));
  EXPECT_EQ(restarts[0].workingFolder, Dir());
  EXPECT_EQ(skinFile, "b.ini");
  EXPECT_NE(PrefsFile().find("use_last_skin = b.ini\n"), std::string::npos)
      << "the file is written before the restart";

  // Without a playlist file only the skin is passed.
  playlist.filePath.clear();
  skinFile = "orvo.ini";
  EXPECT_FALSE(Run(chooseB));
  ASSERT_EQ(restarts.size(), 2u);
  EXPECT_EQ(restarts[1].arguments, std::vector<std::string>{"b.ini"});

  // A relative playlist path is made absolute before the folder changes; a
  // restart that fails keeps the player with its skin and says why.
  playlist.filePath = "./lists/my list.m3u";
  skinFile = "orvo.ini";
  restartError = EACCES;
  EXPECT_FALSE(Run(chooseB));
  ASSERT_EQ(restarts.size(), 3u);
  EXPECT_EQ(restarts[2].arguments,
            (std::vector<std::string>{std::filesystem::current_path().string() + "/lists/my list.m3u",
                                      "b.ini"}));
  EXPECT_EQ(skinFile, "orvo.ini");
  ASSERT_EQ(dialogs.calls.size(), 1u);
  EXPECT_EQ(dialogs.calls[0].Text(), "Could not start %s with the new skin: %s | " +
                                         paths.programPath + " | type " +
                                         std::to_string(kMessageError) + " buttons " +
                                         std::to_string(kButtonsOk));
  EXPECT_EQ(dialogs.lastSecond, "Permission denied");
}

TEST_F(PreferencesTest, SkinUnchanged_NoRestartAndSkinBecomesBareName) {
  playlist.filePath = "/music/a.m3u";
  skinFile = Dir() + "orvo.ini";
  EXPECT_TRUE(Run([](GtkWidget*, const std::vector<GtkWidget*>&) {}));
  EXPECT_TRUE(restarts.empty());
  EXPECT_EQ(skinFile, "orvo.ini");

  // A skin from elsewhere that is not listed selects nothing and stays.
  skinFile = "/themes/dark.ini";
  EXPECT_TRUE(Run([](GtkWidget*, const std::vector<GtkWidget*>& controls) {
    EXPECT_EQ(gtk_combo_box_get_active(GTK_COMBO_BOX(controls[14])), -1);
  }));
  EXPECT_TRUE(restarts.empty());
  EXPECT_EQ(skinFile, "/themes/dark.ini");
}

TEST_F(PreferencesTest, OpenWhileOpen_BringsTheOpenWindowForward) {
  Run([&](GtkWidget*, const std::vector<GtkWidget*>&) {
    EXPECT_FALSE(preferences.Open());
    EXPECT_EQ(Toplevels("Preferences").size(), 1u);
  });
  EXPECT_TRUE(Exists(Dir() + "orvo.prefs")) << "the window closed normally afterwards";
}

TEST_F(PreferencesTest, CloseBox_ClosesLikeExitAndUnwritableFileIsNoError) {
  // A folder in the file's place: nothing can be written, nothing is said.
  ASSERT_EQ(mkdir((Dir() + "orvo.prefs").c_str(), 0700), 0);
  EXPECT_TRUE(Run([](GtkWidget*, const std::vector<GtkWidget*>& controls) { Type(controls[6], "-4"); },
                  true));
  EXPECT_EQ(settings.cycle_time, 1);
  EXPECT_TRUE(dialogs.calls.empty());
}

}  // namespace
}  // namespace orvo::test

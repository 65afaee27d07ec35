// The built player window on a real X server: what the skin description puts
// where, the buttons' actions and the window's own properties.
#include <unistd.h>

#include "tests/ui/gui_support.h"

namespace orvo::test {
namespace {

const std::vector<std::string> kControlStocks = {"gtk-media-previous", "gtk-media-rewind",
                                                 "gtk-media-play",     "gtk-media-pause",
                                                 "gtk-media-forward",  "gtk-media-next"};
const std::vector<std::string> kPlayerStocks = {"gtk-open", "gtk-convert", "gtk-preferences",
                                                "gtk-quit"};

// A row of flat, label-less buttons showing `stocks` at `iconSize`, laid out
// vertically or not, at `where` inside the skin.
void ExpectRow(GtkWidget* row, bool vertical, const std::vector<std::string>& stocks,
               int iconSize, const Placement& where) {
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(GTK_IS_VBOX(row), vertical);
  EXPECT_EQ(GTK_IS_HBOX(row), !vertical);
  EXPECT_EQ(AllocationOf(row), where);
  const std::vector<GtkWidget*> buttons = Children(row);
  ASSERT_EQ(buttons.size(), stocks.size());
  for (size_t i = 0; i < buttons.size(); ++i) {
    gchar* stock = nullptr;
    GtkIconSize size = GTK_ICON_SIZE_INVALID;
    gtk_image_get_stock(GTK_IMAGE(gtk_bin_get_child(GTK_BIN(buttons[i]))), &stock, &size);
    EXPECT_STREQ(stock, stocks[i].c_str());
    EXPECT_EQ(size, iconSize) << stocks[i];
    EXPECT_EQ(gtk_button_get_relief(GTK_BUTTON(buttons[i])), GTK_RELIEF_NONE);
    EXPECT_EQ(gtk_button_get_label(GTK_BUTTON(buttons[i])), nullptr);
  }
}

// The window's size request and its position on the screen.
void ExpectWindow(PlayerWindow& p, int width, int height, int x, int y) {
  EXPECT_EQ(PlacementOf(p.window()), (Placement{-1, -1, width, height}));
  int wx = -1;
  int wy = -1;
  gtk_window_get_position(GTK_WINDOW(p.window()), &wx, &wy);
  EXPECT_EQ(wx, x);
  EXPECT_EQ(wy, y);
}

TEST(PlayerWindowGui, Build_NoSkinDescription_DefaultsPlacedOnSkinImage) {
  PlayerFixture f;
  PlayerWindow& p = f.Build("");
  GtkWindow* window = GTK_WINDOW(p.window());
  EXPECT_STREQ(gtk_window_get_title(window), "Orvo M ");
  EXPECT_STREQ(gtk_window_get_icon_name(window), "gtk-media-play");
  EXPECT_FALSE(gtk_window_get_resizable(window));
  EXPECT_FALSE(gtk_window_get_decorated(window));
  EXPECT_TRUE(gtk_window_get_skip_taskbar_hint(window));
  EXPECT_TRUE(gtk_widget_get_app_paintable(p.window()));
  ExpectWindow(p, 400, 100, 0, 0);

  // The skin image is the first child, at the origin, from the program folder.
  GtkWidget* image = Children(p.skinArea()).front();
  ASSERT_TRUE(GTK_IS_IMAGE(image));
  EXPECT_EQ(gtk_image_get_storage_type(GTK_IMAGE(image)), GTK_IMAGE_PIXBUF);
  EXPECT_EQ(AllocationOf(image).x, 0);
  EXPECT_EQ(AllocationOf(image).y, 0);

  ExpectRow(p.controlRow(), false, kControlStocks, 4, {40, 35, 300, 35});
  ExpectRow(p.playerControlRow(), false, kPlayerStocks, 4, {280, 35, 100, 35});
  EXPECT_EQ(p.openButton(), Children(p.playerControlRow()).front());
  EXPECT_EQ(p.DisplayText(), "Orvo M - Orvo Media Player");
  EXPECT_EQ(AllocationOf(p.displayLabel()), (Placement{100, 10, 200, 20}));
  EXPECT_EQ(p.NotificationAnchor(), p.openButton());
  EXPECT_EQ(p.WindowWidget(), p.window());

  // The status icon's tooltip arrives as UTF-8.
  ASSERT_NE(p.statusIcon(), nullptr);
  p.SetTooltip("Current Song: 1 of 2\nCaf\xE9");
  gchar* tooltip = gtk_status_icon_get_tooltip_text(p.statusIcon());
  EXPECT_STREQ(tooltip, "Current Song: 1 of 2\nCaf\xC3\xA9");
  g_free(tooltip);
}

TEST(PlayerWindowGui, Build_SkinDescription_RowsFollowDirectionVisibleAndHeigth) {
  PlayerFixture f;
  PlayerWindow& p = f.Build(
      "[control]\ncontrolx = 5\ncontroly = 6\ndirection = 5\nwidth = 40\nheigth = 250\n"
      "[playercontrol]\nvisible = 2\n[player]\nbuttonsize = 1\nwindowx = 30\nwindowy = 40\n");
  ExpectRow(p.controlRow(), true, kControlStocks, 1, {5, 6, 40, 250});
  EXPECT_EQ(p.playerControlRow(), nullptr);
  EXPECT_EQ(p.openButton(), nullptr);
  EXPECT_EQ(p.NotificationAnchor(), nullptr);
  EXPECT_EQ(p.controlsVisible(), 2);
  ExpectWindow(p, 400, 100, 30, 40);

  PlayerFixture one;
  ExpectRow(one.Build("[playercontrol]\nvisible = 1\ndirection = 1\n").playerControlRow(), true,
            kPlayerStocks, 4, {280, 35, 100, 35});
}

TEST(PlayerWindowGui, Build_LabelPositionAndColour_ReadLikeNumbersAndColours) {
  PlayerFixture f;
  PlayerWindow& p = f.Build("[display]\ndisplayx = 12px\ndisplayy = abc\ncolor = #ff0000\n");
  EXPECT_EQ(AllocationOf(p.displayLabel()).x, 12);
  EXPECT_EQ(AllocationOf(p.displayLabel()).y, 0);
  GdkColor fg = gtk_widget_get_style(p.displayLabel())->fg[GTK_STATE_NORMAL];
  EXPECT_EQ(fg.red, 0xffff);
  EXPECT_EQ(fg.green, 0);
  EXPECT_EQ(p.textColour(), "#ff0000");

  PlayerFixture bad;
  fg = gtk_widget_get_style(bad.Build("[display]\ncolor = not a colour\n").displayLabel())
           ->fg[GTK_STATE_NORMAL];
  EXPECT_EQ(fg.red | fg.green | fg.blue, 0);
}

TEST(PlayerWindowGui, Build_WindowskinBareOrWithFolderOrMissing_ImageAndSizeFromThatFile) {
  PlayerFixture f;
  f.folder.WriteSkinImage("other.png", 320, 80);
  PlayerWindow& p = f.Build("[playerskin]\nwindowskin = other.png\n");
  ExpectWindow(p, 320, 80, 0, 0);
  EXPECT_EQ(p.skin().imagePath, f.folder.path() + "other.png");
  EXPECT_EQ(AllocationOf(p.displayLabel()).x, 60);  // 320 / 2 - 100

  // With a folder part the name is relative to the working directory.
  PlayerFixture g;
  ASSERT_EQ(mkdir((g.folder.path() + "skins").c_str(), 0700), 0);
  g.folder.WriteSkinImage("skins/v.png", 150, 300);
  char* previous = getcwd(nullptr, 0);
  ASSERT_EQ(chdir(g.folder.path().c_str()), 0);
  PlayerWindow& q = g.Build("[playerskin]\nwindowskin = skins/v.png\n");
  EXPECT_EQ(chdir(previous), 0);
  free(previous);
  ExpectWindow(q, 150, 300, 0, 0);
  EXPECT_EQ(AllocationOf(q.controlRow()).y, 135);  // 300 / 2 - 15

  // No image at all: a broken image, no size request, the rest still placed.
  PlayerFixture none;
  std::remove((none.folder.path() + "skin.png").c_str());
  PlayerWindow& r = none.Build("");
  GtkWidget* image = Children(r.skinArea()).front();
  ASSERT_TRUE(GTK_IS_IMAGE(image));
  EXPECT_NE(gtk_image_get_storage_type(GTK_IMAGE(image)), GTK_IMAGE_PIXBUF);
  ExpectWindow(r, -1, -1, 0, 0);
  EXPECT_TRUE(gtk_widget_get_mapped(r.window()));
  EXPECT_EQ(AllocationOf(r.controlRow()).x, 40);
}

TEST(PlayerWindowGui, ButtonsAndCloseRequest_LeadToTheirActionsAndKeepWindow) {
  PlayerFixture f;
  for (const char* path : {"a.mp3", "b.mp3", "c.mp3"}) f.playlist.append(path);
  PlayerWindow& p = f.Build("");
  for (GtkWidget* button : Children(p.controlRow())) gtk_button_clicked(GTK_BUTTON(button));
  const std::vector<GtkWidget*> second = Children(p.playerControlRow());
  for (size_t i = 1; i < second.size(); ++i) gtk_button_clicked(GTK_BUTTON(second[i]));
  // The window manager's close request asks to quit too; the window stays.
  SendDelete(p.window());
  EXPECT_EQ(f.actions.calls,
            (std::vector<std::string>{"PlaySong a.mp3", "PlaySong a.mp3", "StartPlayback",
                                      "TogglePause", "PlaySong b.mp3", "PlaySong c.mp3",
                                      "OpenPlaylistManager", "OpenPreferences", "Quit", "Quit"}));
  EXPECT_TRUE(gtk_widget_get_mapped(p.window()));
}

TEST(PlayerWindowGui, OpenButton_Clicked_PopsUpAddMenuThatGoesWhenClosed) {
  PlayerFixture f({"/dev/cdrom"});
  PlayerWindow& p = f.Build("");
  gtk_button_clicked(GTK_BUTTON(p.openButton()));
  GtkWidget* menu = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    GList* toplevels = gtk_window_list_toplevels();
    for (GList* l = toplevels; l != nullptr; l = l->next) {
      GtkWidget* child = gtk_bin_get_child(GTK_BIN(l->data));
      if (GTK_IS_MENU(child) && gtk_widget_get_mapped(child)) menu = child;
    }
    g_list_free(toplevels);
    return menu != nullptr;
  }));
  EXPECT_EQ(Children(menu).size(), 5u);
  EXPECT_EQ(f.drives.selections, std::vector<int>{0});
  bool gone = false;
  g_object_weak_ref(G_OBJECT(menu), [](gpointer flag, GObject*) { *static_cast<bool*>(flag) = true; },
                    &gone);
  gtk_menu_shell_deactivate(GTK_MENU_SHELL(menu));
  EXPECT_TRUE(WaitFor([&] { return gone; }));
}

// The bundled vertical skin, copied into a program folder of its own.
TEST(PlayerWindowGui, Build_BundledVerticalSkin_ColumnsAndLabelInsideOpaquePanel) {
  PlayerFixture f;
  for (const char* name : {"vertical.ini", "vertical.png"}) {
    f.folder.Write(name, ReadBytes(std::string(ORVO_TEST_BIN_DIR) + "/" + name));
  }
  PlayerWindow& p = f.Build("", nullptr, "vertical.ini");
  EXPECT_TRUE(GTK_IS_VBOX(p.controlRow()));
  EXPECT_TRUE(GTK_IS_VBOX(p.playerControlRow()));

  GdkPixbuf* image = gdk_pixbuf_new_from_file((f.folder.path() + "vertical.png").c_str(), nullptr);
  ASSERT_NE(image, nullptr);
  const int width = gdk_pixbuf_get_width(image);
  const int height = gdk_pixbuf_get_height(image);
  EXPECT_EQ(PlacementOf(p.window()), (Placement{-1, -1, width, height}));
  auto alphaAt = [&](int x, int y) {
    return gdk_pixbuf_get_pixels(image)[y * gdk_pixbuf_get_rowstride(image) + x * 4 + 3];
  };
  EXPECT_EQ(alphaAt(0, 0), 0);  // rounded, see-through corners
  EXPECT_EQ(alphaAt(width - 1, 0), 0);
  EXPECT_EQ(alphaAt(0, height - 1), 0);
  // Every button and the label lie on fully opaque parts of the panel.
  std::vector<GtkWidget*> widgets = Children(p.controlRow());
  for (GtkWidget* button : Children(p.playerControlRow())) widgets.push_back(button);
  widgets.push_back(p.displayLabel());
  for (GtkWidget* widget : widgets) {
    const Placement box = AllocationOf(widget);
    for (const auto& [x, y] : {std::pair{box.x, box.y}, {box.x + box.width - 1, box.y},
                               {box.x, box.y + box.height - 1},
                               {box.x + box.width - 1, box.y + box.height - 1}}) {
      ASSERT_TRUE(x >= 0 && y >= 0 && x < width && y < height) << x << "," << y;
      EXPECT_EQ(alphaAt(x, y), 255) << x << "," << y;
    }
  }
  g_object_unref(image);
}

}  // namespace
}  // namespace orvo::test

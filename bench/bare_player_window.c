/* The second floor for the start-up benchmark: the player's window built
 * straight with GTK+ 2, with nothing else around it. The same skin image in
 * a borderless, translucent window, the same ten stock-icon buttons in two
 * rows, the display label and the status icon, placed as the skin says.
 *
 *   bare_player_window IMAGE.png STATUS_ICON.png ICON_SIZE WINDOW_X WINDOW_Y
 *       DISPLAY_X DISPLAY_Y COLOUR
 *       CONTROL_X CONTROL_Y CONTROL_VERTICAL CONTROL_WIDTH CONTROL_HEIGHT
 *       EXTRA_X EXTRA_Y EXTRA_VERTICAL EXTRA_WIDTH EXTRA_HEIGHT EXTRA_VISIBLE
 */
#include <gtk/gtk.h>
#include <stdlib.h>

static gboolean PaintBackground(GtkWidget* window, GdkEventExpose* event, gpointer alpha) {
  (void)event;
  cairo_t* cr = gdk_cairo_create(window->window);
  if (alpha != NULL) {
    cairo_set_source_rgba(cr, 1.0 / 128, 0, 0, 1.0 / 128);
  } else {
    cairo_set_source_rgb(cr, 1.0 / 128, 0, 1.0 / 128);
  }
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_paint(cr);
  cairo_destroy(cr);
  return FALSE;
}

static void AddRow(GtkWidget* fixed, char** at, GtkIconSize size, const char* const* stock) {
  GtkWidget* box = atoi(at[2]) ? gtk_vbox_new(FALSE, 0) : gtk_hbox_new(FALSE, 0);
  gtk_fixed_put(GTK_FIXED(fixed), box, atoi(at[0]), atoi(at[1]));
  gtk_widget_set_size_request(box, atoi(at[3]), atoi(at[4]));
  for (; *stock != NULL; ++stock) {
    GtkWidget* button = gtk_button_new();
    gtk_button_set_relief(GTK_BUTTON(button), GTK_RELIEF_NONE);
    gtk_container_add(GTK_CONTAINER(button), gtk_image_new_from_stock(*stock, size));
    gtk_box_pack_start(GTK_BOX(box), button, FALSE, FALSE, 0);
  }
}

int main(int argc, char** argv) {
  if (argc != 20) {
    g_printerr("usage: see the head of bare_player_window.c\n");
    return 2;
  }
  static const char* const controls[] = {"gtk-media-previous", "gtk-media-rewind", "gtk-media-play",
                                         "gtk-media-pause", "gtk-media-forward", "gtk-media-next",
                                         NULL};
  static const char* const extras[] = {"gtk-open", "gtk-convert", "gtk-preferences", "gtk-quit",
                                       NULL};
  gtk_init(&argc, &argv);
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window), "Orvo M ");
  gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
  gtk_window_set_icon_name(GTK_WINDOW(window), "gtk-media-play");
  GtkWidget* fixed = gtk_fixed_new();
  gtk_container_add(GTK_CONTAINER(window), fixed);
  gtk_fixed_put(GTK_FIXED(fixed), gtk_image_new_from_file(argv[1]), 0, 0);
  gint width = 0, height = 0;
  if (gdk_pixbuf_get_file_info(argv[1], &width, &height) != NULL && width > 0 && height > 0) {
    gtk_widget_set_size_request(window, width, height);
  }
  gtk_window_move(GTK_WINDOW(window), atoi(argv[4]), atoi(argv[5]));
  const GtkIconSize size = (GtkIconSize)atoi(argv[3]);
  AddRow(fixed, argv + 9, size, controls);
  if (atoi(argv[19]) == 1) AddRow(fixed, argv + 14, size, extras);
  GtkWidget* label = gtk_label_new("Orvo M - Orvo Media Player");
  gtk_fixed_put(GTK_FIXED(fixed), label, atoi(argv[6]), atoi(argv[7]));
  gtk_widget_set_size_request(label, 200, 20);
  GdkColor colour = {0, 0, 0, 0};
  gdk_color_parse(argv[8], &colour);
  gtk_widget_modify_fg(label, GTK_STATE_NORMAL, &colour);
  gtk_widget_set_app_paintable(window, TRUE);
  gtk_window_set_decorated(GTK_WINDOW(window), FALSE);
  GdkColormap* rgba = gdk_screen_get_rgba_colormap(gtk_widget_get_screen(window));
  if (rgba != NULL) gtk_widget_set_colormap(window, rgba);
  g_signal_connect(window, "expose-event", G_CALLBACK(PaintBackground), rgba);
  gtk_status_icon_set_visible(gtk_status_icon_new_from_file(argv[2]), TRUE);
  gtk_window_set_skip_taskbar_hint(GTK_WINDOW(window), TRUE);
  g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), NULL);
  gtk_widget_show_all(window);
  gtk_main();
  return 0;
}

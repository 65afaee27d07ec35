/* The floor for the start-up benchmark: the least a GTK+ 2 program does to
 * show a PNG in an undecorated window. Usage: bare_window IMAGE.png */
#include <gtk/gtk.h>

int main(int argc, char** argv) {
  gtk_init(&argc, &argv);
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window), "Orvo M ");
  gtk_window_set_decorated(GTK_WINDOW(window), FALSE);
  gtk_container_add(GTK_CONTAINER(window), gtk_image_new_from_file(argc > 1 ? argv[1] : ""));
  g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), NULL);
  gtk_widget_show_all(window);
  gtk_main();
  return 0;
}

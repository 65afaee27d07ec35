#include "app/gtk_message_dialogs.h"

#include <gtk/gtk.h>

#include "ui/to_utf8.h"

namespace orvo {

int GtkMessageDialogs::ShowMessageDialog(const std::string& message, int messageType,
                                         int buttons, const std::string& first,
                                         const std::string& second) {
  // The finished text goes through "%s": a path holding "%" must never be
  // read as a format by the toolkit.
  const std::string text = ToUtf8(FormatDialogText(message, first, second));
  GtkWidget* dialog = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL,
                                             static_cast<GtkMessageType>(messageType),
                                             static_cast<GtkButtonsType>(buttons), "%s",
                                             text.c_str());
  const int response = gtk_dialog_run(GTK_DIALOG(dialog));
  gtk_widget_destroy(dialog);
  return response;
}

}  // namespace orvo

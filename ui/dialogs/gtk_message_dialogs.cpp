#include "ui/dialogs/gtk_message_dialogs.h"

#include <gtk/gtk.h>

#include "base/latin1.h"

namespace orvo {
namespace {

GtkMessageType ToolkitType(MessageType type) {
  switch (type) {
    case kMessageQuestion: return GTK_MESSAGE_QUESTION;
    case kMessageError: return GTK_MESSAGE_ERROR;
    case kMessageWarning: break;
  }
  return GTK_MESSAGE_WARNING;
}

GtkButtonsType ToolkitButtons(ButtonsType buttons) {
  switch (buttons) {
    case kButtonsYesNo: return GTK_BUTTONS_YES_NO;
    case kButtonsOkCancel: return GTK_BUTTONS_OK_CANCEL;
    case kButtonsOk: break;
  }
  return GTK_BUTTONS_OK;
}

MessageResponse Answer(int response) {
  switch (response) {
    case GTK_RESPONSE_OK: return kResponseOk;
    case GTK_RESPONSE_CANCEL: return kResponseCancel;
    case GTK_RESPONSE_YES: return kResponseYes;
    case GTK_RESPONSE_NO: return kResponseNo;
    default: return kResponseNone;
  }
}

}  // namespace

MessageResponse GtkMessageDialogs::ShowMessageDialog(const std::string& message, MessageType type,
                                                     ButtonsType buttons, const std::string& first,
                                                     const std::string& second) {
  // The finished text goes through "%s": a path holding "%" must never be
  // read as a format by the toolkit.
  const std::string text = ToUtf8(FormatDialogText(message, first, second));
  GtkWidget* dialog = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, ToolkitType(type),
                                             ToolkitButtons(buttons), "%s", text.c_str());
  const int response = gtk_dialog_run(GTK_DIALOG(dialog));
  gtk_widget_destroy(dialog);
  return Answer(response);
}

}  // namespace orvo

// The toolkit side of quitting: the question dialog and the save chooser,
// answered from the main loop as a user would answer them.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <functional>
#include <memory>
#include <string>

#include "tests/ui/gui_support.h"
#include "ui/dialogs/gtk_message_dialogs.h"
#include "ui/dialogs/save_chooser.h"

namespace orvo::test {
namespace {

// The shown message dialog, or nullptr.
GtkMessageDialog* OpenMessageDialog() {
  GList* toplevels = gtk_window_list_toplevels();
  GtkMessageDialog* found = nullptr;
  for (GList* item = toplevels; item != nullptr; item = item->next) {
    GtkWidget* widget = GTK_WIDGET(item->data);
    if (GTK_IS_MESSAGE_DIALOG(widget) && gtk_widget_get_visible(widget)) {
      found = GTK_MESSAGE_DIALOG(widget);
    }
  }
  g_list_free(toplevels);
  return found;
}

struct SeenDialog {
  std::string text;
  GtkMessageType type = GTK_MESSAGE_OTHER;
  bool modal = false;
  bool hasParent = true;
};

// Answers the next message dialog with `response` and records what it showed.
void AnswerMessageDialog(int response, SeenDialog& seen) {
  struct Pending {
    int response;
    SeenDialog* seen;
  };
  g_timeout_add(
      20,
      [](gpointer data) -> gboolean {
        auto* pending = static_cast<Pending*>(data);
        GtkMessageDialog* dialog = OpenMessageDialog();
        if (dialog == nullptr) return TRUE;
        gchar* text = nullptr;
        g_object_get(dialog, "text", &text, "message-type", &pending->seen->type, nullptr);
        pending->seen->text = text != nullptr ? text : "";
        g_free(text);
        pending->seen->modal = gtk_window_get_modal(GTK_WINDOW(dialog));
        pending->seen->hasParent = gtk_window_get_transient_for(GTK_WINDOW(dialog)) != nullptr;
        gtk_dialog_response(GTK_DIALOG(dialog), pending->response);
        delete pending;
        return FALSE;
      },
      new Pending{response, &seen});
}

TEST(GtkMessageDialogs, Question_ReturnsTheAnswerOfTheModalDialog) {
  GtkMessageDialogs dialogs;
  const std::pair<int, MessageResponse> answers[] = {
      {GTK_RESPONSE_YES, kResponseYes}, {GTK_RESPONSE_NO, kResponseNo},
      {GTK_RESPONSE_DELETE_EVENT, kResponseNone}};
  for (const auto& [answer, expected] : answers) {
    SeenDialog seen;
    AnswerMessageDialog(answer, seen);
    const MessageResponse response = dialogs.ShowMessageDialog(
        "Unsaved Playlist... would you like to save it now?", kMessageQuestion, kButtonsYesNo, "",
        "");
    EXPECT_EQ(response, expected);
    EXPECT_EQ(seen.text, "Unsaved Playlist... would you like to save it now?");
    EXPECT_EQ(seen.type, GTK_MESSAGE_QUESTION);
    EXPECT_TRUE(seen.modal);
    EXPECT_FALSE(seen.hasParent);
  }
  EXPECT_EQ(OpenMessageDialog(), nullptr) << "the dialog is destroyed after its answer";
}

TEST(GtkMessageDialogs, PathArgument_ShownAsLatin1TextNeverAsFormat) {
  GtkMessageDialogs dialogs;
  SeenDialog seen;
  AnswerMessageDialog(GTK_RESPONSE_OK, seen);
  dialogs.ShowMessageDialog("Failed to create the Playlist %s", kMessageError, kButtonsOk,
                            "/tmp/caf\xe9 %s %n.m3u", "");
  EXPECT_EQ(seen.text, "Failed to create the Playlist /tmp/caf\xc3\xa9 %s %n.m3u");
  EXPECT_EQ(seen.type, GTK_MESSAGE_ERROR);
}

TEST(AskSavePlaylistName, Accepted_ReturnsTheChosenNameFromTheProgramFolder) {
  const TempFolder temp;
  const std::string& folder = temp.path();
  std::string title;
  std::string filterName;
  bool confirmsOverwrite = true;
  AnswerFileChooser([&](GtkFileChooser* chooser) {
    title = gtk_window_get_title(GTK_WINDOW(chooser));
    GtkFileFilter* filter = gtk_file_chooser_get_filter(chooser);
    filterName = filter != nullptr ? gtk_file_filter_get_name(filter) : "";
    confirmsOverwrite = gtk_file_chooser_get_do_overwrite_confirmation(chooser);
    EXPECT_EQ(gtk_file_chooser_get_action(chooser), GTK_FILE_CHOOSER_ACTION_SAVE);
    gtk_file_chooser_set_current_name(chooser, "party");
    return GTK_RESPONSE_ACCEPT;
  });
  const std::optional<std::string> chosen = AskSavePlaylistName(nullptr, folder);
  ASSERT_TRUE(chosen.has_value());
  // A bare name typed by the user lands in the folder the chooser opened in.
  EXPECT_EQ(*chosen, folder + "party");
  EXPECT_EQ(title, "save Playlist as");
  EXPECT_EQ(filterName, "Playlist");
  EXPECT_FALSE(confirmsOverwrite);
}

TEST(AskSavePlaylistName, Cancelled_ReturnsNothing) {
  AnswerFileChooser([](GtkFileChooser*) { return GTK_RESPONSE_CANCEL; });
  const TempFolder temp;
  EXPECT_FALSE(AskSavePlaylistName(nullptr, temp.path()).has_value());
}

}  // namespace
}  // namespace orvo::test

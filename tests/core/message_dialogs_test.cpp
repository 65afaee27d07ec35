#include "core/message_dialogs.h"

#include <gtest/gtest.h>

namespace orvo {
namespace {

// Arguments take the places of "%s" in order and "%%" is one percent sign; any other percent
// sequence, in the message or in an argument (a path may hold "%n"), stays text.
TEST(FormatDialogText, Placeholders_FilledInOrderOtherSequencesStayText) {
  const char* rows[][4] = {
      {"Failed to create the Playlist %s", "/a.m3u", "", "Failed to create the Playlist /a.m3u"},
      {"%s and %s", "one", "two", "one and two"},
      {"delete %s ?", "/x/%s%n%d.m3u", "", "delete /x/%s%n%d.m3u ?"},
      {"%s %s %s", "a", "b", "a b "},
      {"100%% sure %d%", "", "", "100% sure %d%"},
  };
  for (const auto& r : rows) EXPECT_EQ(FormatDialogText(r[0], r[1], r[2]), r[3]) << r[0];
}

}  // namespace
}  // namespace orvo

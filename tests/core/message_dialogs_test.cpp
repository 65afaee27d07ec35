#include <gtest/gtest.h>

#include "core/message_dialogs.h"

namespace orvo {
namespace {

// Arguments take the places of "%s" in order; "%%" is one percent sign and
// any other percent sequence, in the message or in an argument (a user's path
// may hold "%s" or "%n"), stays text.
TEST(FormatDialogText, Placeholders_FilledInOrderAndOtherSequencesStayText) {
  const struct {
    const char *message, *first, *second, *expected;
  } cases[] = {
      {"Failed to create the Playlist %s", "/tmp/a.m3u", "", "Failed to create the Playlist /tmp/a.m3u"},
      {"%s and %s", "one", "two", "one and two"},
      {"Found no Audio Track on this CD!", "", "", "Found no Audio Track on this CD!"},
      {"this will really delete the playlist %s ?", "/x/%s%n%d.m3u", "",
       "this will really delete the playlist /x/%s%n%d.m3u ?"},
      {"%s %s %s", "a", "b", "a b "},
      {"100%% sure %d%", "", "", "100% sure %d%"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatDialogText(c.message, c.first, c.second), c.expected);
}

}  // namespace
}  // namespace orvo

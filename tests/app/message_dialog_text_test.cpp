#include <gtest/gtest.h>

#include "app/message_dialog.h"

namespace orvo {
namespace {

TEST(FormatDialogText, ArgumentsTakeTheirPlacesInOrder) {
  EXPECT_EQ(FormatDialogText("Failed to create the Playlist %s", "/tmp/a.m3u", ""),
            "Failed to create the Playlist /tmp/a.m3u");
  EXPECT_EQ(FormatDialogText("%s and %s", "one", "two"), "one and two");
  EXPECT_EQ(FormatDialogText("Found no Audio Track on this CD!", "", ""),
            "Found no Audio Track on this CD!");
}

TEST(FormatDialogText, FormatSequencesInArgumentsStayText) {
  // A user's path may hold "%s" or "%n": it is text, never a format.
  EXPECT_EQ(FormatDialogText("this will really delete the playlist %s ?", "/x/%s%n%d.m3u", ""),
            "this will really delete the playlist /x/%s%n%d.m3u ?");
}

TEST(FormatDialogText, ThirdPlaceholderAndStrayPercentSigns) {
  EXPECT_EQ(FormatDialogText("%s %s %s", "a", "b"), "a b ");
  EXPECT_EQ(FormatDialogText("100%% sure %d%", "", ""), "100% sure %d%");
}

}  // namespace
}  // namespace orvo

#include "app/shutdown.h"

#include <gtest/gtest.h>

#include "tests/playback/playback_doubles.h"

namespace orvo::test {
namespace {

// Quits with a playlist of `entries` loaded from `file` (empty: unsaved), ask_on_exit `ask`, the
// answer to the question and the name chosen to save under (null: cancelled). Gives the folder the
// chooser opened in, the dialogs, bubbles and engine calls, then the playlist file, the
// preferences and the skin description, with "~/" for the program's folder.
std::string Quit(std::vector<std::string> entries, const std::string& file, bool ask, MessageResponse answer,
                 const char* name, bool prefs = true) {
  PlaybackHarness h;
  const std::string d = h.folder.path() + "/";
  if (prefs) WriteBytes(d + "orvo.prefs", "repeat = 0\n");
  WriteBytes(d + "orvo.ini", "[display]\r\n  displayx=100\r\n\r\n[player]\nglue = 0\n[control]\nwidth=3\n");
  for (const std::string& path : entries) h.playlist.add(path);
  h.playlist.filePath = file;
  h.settings.ask_on_exit = ask;
  h.dialogs.answer = answer;
  h.engine.Load("song.mp3");
  std::string out;
  ShutdownParts parts{h.playlist, h.settings, d, d + "orvo.ini", h.dialogs, h.notifier, h.engine,
                      [&](const std::string& folder) {
                        out += folder + "|";
                        return name ? std::optional<std::string>(d + name) : std::nullopt;
                      },
                      [] { return std::make_pair(123, 45); }};
  RunShutdownSteps(parts);
  for (const auto& shown : h.dialogs.shown) out += shown.message + " " + shown.first + "|";
  for (const std::string& bubble : h.notifier.shown) out += bubble + "|";
  out += h.engine.calls + ReadBytes(file.empty() ? h.playlist.filePath : "") + "|" + ReadBytes(d + "orvo.prefs") + "|" +
         ReadBytes(d + "orvo.ini");
  for (size_t at; (at = out.find(d)) != std::string::npos;) out.replace(at, d.size(), "~/");
  return out;
}

TEST(RunShutdownSteps, Quitting_OffersToSaveRemembersStopsAndStoresThePosition) {
  const std::string skin = "[display]\ndisplayx = 100\n[player]\nglue = 0\nwindowx = 123\nwindowy = 45\n[control]\nwidth = 3\n",
                    q = "Unsaved Playlist... would you like to save it now? |", end = "Load song.mp3|Stop|Release|",
                    kept = end + "<missing>|repeat = 0\n|" + skin;
  EXPECT_EQ(Quit({"/m/a.mp3", "/m/b.ogg"}, "", true, kResponseYes, "party"),
            "~/|" + q + "Saved|there were 2 files saved in the Playlist|3|" + end +
                "/m/a.mp3\n/m/b.ogg\n|repeat = 0\nlast_one = ~/party.m3u\n|" + skin);
  // A name ending in ".m3u" in any case is kept; a missing preferences file is not created.
  EXPECT_EQ(Quit({"/m/a.mp3"}, "", true, kResponseYes, "P.M3U", false),
            "~/|" + q + "Saved|there were 1 files saved in the Playlist|3|" + end + "/m/a.mp3\n|<missing>|" + skin);
  // A failed save is reported, and its name still remembered.
  EXPECT_EQ(Quit({"/m/a.mp3"}, "", true, kResponseYes, "gone/list"),
            "~/|" + q + "Failed to create the Playlist %s ~/gone/list.m3u|" + end +
                "<missing>|repeat = 0\nlast_one = ~/gone/list.m3u\n|" + skin);
  // Saying no, cancelling the chooser, an empty or a loaded playlist, or not asking saves nothing.
  EXPECT_EQ(Quit({"/m/a.mp3"}, "", true, kResponseNo, "x"), q + kept);
  EXPECT_EQ(Quit({"/m/a.mp3"}, "", true, kResponseYes, nullptr), "~/|" + q + kept);
  EXPECT_EQ(Quit({}, "", true, kResponseYes, "x") + Quit({"/m/a.mp3"}, "", false, kResponseYes, "x"), kept + kept);
  EXPECT_EQ(Quit({}, "/l.m3u", true, kResponseYes, "x"), end + "<missing>|repeat = 0\nlast_one = /l.m3u\n|" + skin);
}

}  // namespace
}  // namespace orvo::test

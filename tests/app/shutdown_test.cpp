#include "app/shutdown.h"

#include <gtest/gtest.h>

#include "tests/playback/playback_doubles.h"

namespace orvo::test {
namespace {

// Quits with `entries` loaded from `file` (empty: unsaved), ask_on_exit `ask`, the answer and the name
// to save under (null: cancelled); checks that playback stopped and the skin got the position. Gives
// the chooser's folder, dialogs, bubbles, playlist file and preferences, "~/" for the program's.
std::string Quit(std::vector<std::string> entries, const std::string& file, bool ask, MessageResponse answer,
                 const char* name) {
  PlaybackHarness h;
  const std::string d = h.folder.path() + "/";
  WriteBytes(d + "orvo.prefs", "repeat = 0\n");
  WriteBytes(d + "orvo.ini", "[display]\nx=1\n[player]\nglue = 0\n[control]\n");
  for (const std::string& path : entries) h.playlist.add(path);
  h.playlist.filePath = file, h.settings.ask_on_exit = ask, h.dialogs.answer = answer;
  h.engine.Load("song.mp3");
  std::string out;
  ShutdownParts parts{h.playlist, h.settings, d, d + "orvo.ini", h.dialogs, h.notifier, h.engine,
                      [&](const std::string& folder) { return out += folder + "|", name ? std::optional<std::string>(d + name) : std::nullopt; },
                      [] { return std::make_pair(123, 45); }};
  RunShutdownSteps(parts);
  EXPECT_EQ(h.engine.calls + ReadBytes(d + "orvo.ini"),
            "Load song.mp3|Stop|Release|[display]\nx = 1\n[player]\nglue = 0\nwindowx = 123\nwindowy = 45\n[control]\n");
  for (const auto& shown : h.dialogs.shown) out += shown.message + " " + shown.first + "|";
  for (const std::string& bubble : h.notifier.shown) out += bubble + "|";
  out += ReadBytes(file.empty() ? h.playlist.filePath : "") + "|" + ReadBytes(d + "orvo.prefs");
  for (size_t at; (at = out.find(d)) != std::string::npos;) out.replace(at, d.size(), "~/");
  return out;
}

// An unsaved playlist is offered for saving only when ask_on_exit is on and the list holds songs;
// the name gets ".m3u" unless it ends so; a failed save is reported and its name still remembered.
TEST(RunShutdownSteps, Quitting_OffersToSaveRemembersStopsAndStoresThePosition) {
  const std::string q = "Unsaved Playlist... would you like to save it now? |", kept = "<missing>|repeat = 0\n";
  EXPECT_EQ(Quit({"/m/a.mp3", "/m/b.ogg"}, "", true, kResponseYes, "party"),
            "~/|" + q + "Saved|there were 2 files saved in the Playlist|3|/m/a.mp3\n/m/b.ogg\n|repeat = 0\nlast_one = ~/party.m3u\n");
  EXPECT_EQ(Quit({"/m/a.mp3"}, "", true, kResponseYes, "gone/list"),
            "~/|" + q + "Failed to create the Playlist %s ~/gone/list.m3u|<missing>|repeat = 0\nlast_one = ~/gone/list.m3u\n");
  EXPECT_EQ(Quit({"/m/a.mp3"}, "", true, kResponseNo, "x") + Quit({"/m/a.mp3"}, "", true, kResponseYes, nullptr),
            q + kept + "~/|" + q + kept);
  EXPECT_EQ(Quit({}, "", true, kResponseYes, "x") + Quit({"/m/a.mp3"}, "", false, kResponseYes, "x") +
                Quit({}, "/l.m3u", true, kResponseYes, "x"), kept + kept + kept + "last_one = /l.m3u\n");
}

}  // namespace
}  // namespace orvo::test

#include "app/shutdown.h"

#include <gtest/gtest.h>

#include "tests/playback/playback_doubles.h"

namespace orvo::test {
namespace {

// Quitting with a playlist of `entries` (loaded from `file`, or unsaved when empty), the answer
// to the save question and the name chosen (null: chooser cancelled). Gives the dialogs and
// bubbles shown, the playlist file's content, the preferences and the skin description.
std::string Quit(const std::vector<std::string>& entries, const std::string& file, bool ask,
                 MessageResponse answer, const char* name, const char* prefs = "repeat = 0\n") {
  PlaybackHarness h;
  const std::string d = h.folder.path() + "/";
  if (prefs) WriteBytes(d + "orvo.prefs", prefs);
  WriteBytes(d + "orvo.ini", "[display]\r\n  displayx=100\r\n\r\n[player]\nglue = 0\n[control]\nwidth=3\n");
  for (const std::string& path : entries) h.playlist.add(path);
  h.playlist.filePath = file;
  h.settings.ask_on_exit = ask;
  h.dialogs.answer = answer;
  h.engine.Load("/m/a.mp3");
  std::string askedIn;
  ShutdownParts parts{h.playlist, h.settings, d, d + "orvo.ini", h.dialogs, h.notifier, h.engine,
                      [&](const std::string& folder) {
                        askedIn = folder;
                        return name ? std::optional<std::string>(d + name) : std::nullopt;
                      },
                      [] { return std::make_pair(123, 45); }};
  RunShutdownSteps(parts);
  std::string out = askedIn == d ? "asked in program folder|" : askedIn + "|";
  for (const auto& shown : h.dialogs.shown) out += shown.message + " " + shown.first + "|";
  for (const Bubble& bubble : h.notifier.shown) out += bubble.str() + "|";
  for (const std::string& call : h.engine.calls) out += call == "Stop" || call == "Release" ? call + "|" : "";
  out += ReadBytes(h.playlist.filePath) + "|" + ReadBytes(d + "orvo.prefs") + "|" + ReadBytes(d + "orvo.ini");
  size_t at;
  while ((at = out.find(d)) != std::string::npos) out.replace(at, d.size(), "~/");
  return out;
}

TEST(RunShutdownSteps, Quitting_OffersToSaveRemembersStopsAndStoresThePosition) {
  const std::string skin = "[display]\ndisplayx = 100\n[player]\nglue = 0\nwindowx = 123\nwindowy = 45\n"
                           "[control]\nwidth = 3\n";
  const std::string q = "Unsaved Playlist... would you like to save it now? |", end = "Stop|Release|";
  EXPECT_EQ(Quit({"/m/a.mp3", "/m/b.ogg"}, "", true, kResponseYes, "party"),
            "asked in program folder|" + q + "Saved|there were 2 files saved in the Playlist|3|" + end +
                "/m/a.mp3\n/m/b.ogg\n|repeat = 0\nlast_one = ~/party.m3u\n|" + skin);
  EXPECT_EQ(Quit({"/m/a.mp3"}, "", true, kResponseYes, "Party.M3U", nullptr),
            "asked in program folder|" + q + "Saved|there were 1 files saved in the Playlist|3|" + end +
                "/m/a.mp3\n|<missing>|" + skin);
  // A failed save is reported, yet its name is remembered.
  EXPECT_EQ(Quit({"/m/a.mp3"}, "", true, kResponseYes, "gone/list"),
            "asked in program folder|" + q + "Failed to create the Playlist %s ~/gone/list.m3u|" + end +
                "<missing>|repeat = 0\nlast_one = ~/gone/list.m3u\n|" + skin);
  // No, a cancelled chooser, an empty or a loaded playlist, or no question asked: nothing saved.
  EXPECT_EQ(Quit({"/m/a.mp3"}, "", true, kResponseNo, "x"), "|" + q + end + "<missing>|repeat = 0\n|" + skin);
  EXPECT_EQ(Quit({"/m/a.mp3"}, "", true, kResponseYes, nullptr),
            "asked in program folder|" + q + end + "<missing>|repeat = 0\n|" + skin);
  EXPECT_EQ(Quit({}, "", true, kResponseYes, "x"), "|" + end + "<missing>|repeat = 0\n|" + skin);
  EXPECT_EQ(Quit({"/m/a.mp3"}, "", false, kResponseYes, "x"), "|" + end + "<missing>|repeat = 0\n|" + skin);
  EXPECT_EQ(Quit({}, "/l.m3u", true, kResponseYes, "x"),
            "|" + end + "<missing>|repeat = 0\nlast_one = /l.m3u\n|" + skin);
}

}  // namespace
}  // namespace orvo::test

#pragma once

#include <functional>
#include <string>

#include "core/file_chooser.h"

namespace orvo {

class CurrentPlaylist;
class Notifier;
class PathList;
class PlayerView;
struct Settings;

// The three ways the user refills the current playlist: chosen files, the
// music of a folder tree, or a playlist file. Each replaces the list's content
// and may start playback at once when `instantplay` is on and no song object
// exists. The choosers are modal; the calls return when they are closed (and,
// with instant play, only when the playback they started returns).
class SongAdder {
 public:
  enum class SearchMode {
    kAdd,         // the folder's music replaces the current playlist
    kSearchOnly,  // only foundFiles is refilled; the caller shows it
  };

  // Every reference must outlive the adder. `songLoaded` tells whether the
  // media engine holds a song object; `startPlayback` runs StartPlayback.
  SongAdder(CurrentPlaylist& playlist, PathList& foundFiles, const Settings& settings,
            Notifier& notifier, PlayerView& view, ChooseFiles choose, std::string programDirectory,
            std::function<bool()> songLoaded, std::function<void()> startPlayback);

  // "Select" chooser for one or more music files; the chosen files, sorted,
  // become the unsaved current playlist. Returns whether files were chosen.
  bool AddFiles();
  // "select a Playlist" chooser starting in the program's folder; the chosen
  // file's lines become the current playlist and the file its path. Returns
  // whether a file was chosen.
  bool LoadPlaylist();
  // "start search in...:" folder chooser starting in $HOME; refills
  // foundFiles from the chosen tree. Returns whether a folder was chosen: after
  // a cancel foundFiles is unchanged and, in search-only mode, nothing else
  // happens.
  bool SearchMusicFolder(SearchMode mode);

 private:
  void ShowCount();
  void PlayInstantly();

  CurrentPlaylist& playlist_;
  PathList& foundFiles_;
  const Settings& settings_;
  Notifier& notifier_;
  PlayerView& view_;
  ChooseFiles choose_;
  std::string programDirectory_;
  std::function<bool()> songLoaded_;
  std::function<void()> startPlayback_;
};

}  // namespace orvo

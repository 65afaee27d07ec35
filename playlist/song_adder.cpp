#include "playlist/song_adder.h"

#include <cstdlib>
#include <utility>
#include <vector>

#include "core/notifier.h"
#include "core/player_view.h"
#include "core/settings.h"
#include "playlist/folder_search.h"
#include "playlist/m3u.h"
#include "playlist/path_list.h"
#include "playlist/show_playlist_count.h"

namespace orvo {
namespace {

constexpr int kCountSeconds = 3;
constexpr const char* kMusicFilters = "mp3-files|*.mp3|wav-files|*.wav|ogg-files|*.ogg|all files|*.*";
constexpr std::size_t kAllFilesFilter = 3;
constexpr const char* kPlaylistFilters = "Playlists|*m3u";

}  // namespace

SongAdder::SongAdder(CurrentPlaylist& playlist, PathList& foundFiles, const Settings& settings,
                     Notifier& notifier, PlayerView& view, ChooseFiles choose,
                     std::string programDirectory,
                     std::function<bool()> songLoaded, std::function<void()> startPlayback)
    : playlist_(playlist),
      foundFiles_(foundFiles),
      settings_(settings),
      notifier_(notifier),
      view_(view),
      choose_(std::move(choose)),
      programDirectory_(std::move(programDirectory)),
      songLoaded_(std::move(songLoaded)),
      startPlayback_(std::move(startPlayback)) {}

bool SongAdder::AddFiles() {
  FileChooserRequest request;
  request.title = "Select";
  request.multiple = true;
  request.filterList = kMusicFilters;
  request.selectedFilter = kAllFilesFilter;
  const std::vector<std::string> chosen = choose_(request);
  if (!chosen.empty()) {
    playlist_.clear();
    for (const std::string& path : chosen) playlist_.add(path);
    playlist_.sort();
    playlist_.filePath.clear();
    ShowCount();
  }
  PlayInstantly();
  return !chosen.empty();
}

bool SongAdder::LoadPlaylist() {
  FileChooserRequest request;
  request.title = "select a Playlist";
  request.startFolder = programDirectory_;
  request.filterList = kPlaylistFilters;
  const std::vector<std::string> chosen = choose_(request);
  if (!chosen.empty()) {
    playlist_.clear();
    playlist_.filePath = chosen.front();
    // An unreadable file leaves the list empty with its path kept; the count
    // notification below is the only feedback.
    static_cast<void>(ReadM3u(playlist_.filePath, playlist_));
  }
  ShowCount();
  PlayInstantly();
  return !chosen.empty();
}

bool SongAdder::SearchMusicFolder(SearchMode mode) {
  FileChooserRequest request;
  request.title = "start search in...:";
  request.action = FileChooserRequest::Action::kSelectFolder;
  if (const char* home = std::getenv("HOME")) request.startFolder = home;
  const std::vector<std::string> chosen = choose_(request);
  const bool folderChosen = !chosen.empty();

  if (folderChosen) {
    std::string folder = chosen.front();
    if (folder.empty() || folder.back() != '/') folder.push_back('/');
    std::vector<std::string> found;
    FindMusicFiles(folder, found);
    foundFiles_.clear();
    for (const std::string& path : found) foundFiles_.append(path);
    if (mode == SearchMode::kAdd) {
      playlist_.clear();
      playlist_.filePath.clear();
      for (const std::string& path : found) playlist_.append(path);
    }
  }
  // A cancelled chooser adds nothing: foundFiles may still hold an earlier
  // search, and appending that again would only duplicate songs.
  if (mode == SearchMode::kAdd) {
    ShowCount();
    PlayInstantly();
  }
  return folderChosen;
}

void SongAdder::ShowCount() {
  ShowPlaylistCount(notifier_, playlist_, kCountSeconds, view_.NotificationAnchor());
}

void SongAdder::PlayInstantly() {
  if (settings_.instantplay && !songLoaded_()) startPlayback_();
}

}  // namespace orvo

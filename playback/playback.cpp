#include "playback/playback.h"

#include <sys/stat.h>

#include <algorithm>
#include <ostream>

#include "core/media_engine.h"
#include "core/message_dialogs.h"
#include "core/player_view.h"
#include "core/settings.h"
#include "playback/now_playing.h"
#include "playlist/path_list.h"

namespace orvo {

namespace {

constexpr int kRefusalBubbleSeconds = 8;
constexpr int kNormalUrgency = 1;
constexpr int kVideoAreaX = 150;
constexpr int kVideoAreaY = 150;
constexpr std::size_t kDiagnosticRuleWidth = 67;

bool HasByteAbove126(const std::string& path) {
  return std::any_of(path.begin(), path.end(),
                     [](char c) { return static_cast<unsigned char>(c) > 126; });
}

bool ExistsAndIsNoFolder(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

}  // namespace

bool IsPlayableFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode) && info.st_size > 0;
}

// Tells the title timer when the outermost pass begins and ends, so that the
// end of a nested pass (the play button during a song) is not taken for the
// end of the playlist while the surrounding pass may still start songs.
class Playback::PassScope {
 public:
  explicit PassScope(Playback& playback) : playback_(playback) {
    if (playback_.passDepth_++ == 0) playback_.nowPlaying_.PlaybackStarted();
  }
  ~PassScope() {
    if (--playback_.passDepth_ == 0) {
      playback_.stopRequested_ = false;
      playback_.nowPlaying_.PlaybackEnded();
    }
  }
  PassScope(const PassScope&) = delete;
  PassScope& operator=(const PassScope&) = delete;

 private:
  Playback& playback_;
};

// Counts the songs waiting inside each other.
class Playback::WaitScope {
 public:
  explicit WaitScope(Playback& playback) : playback_(playback) { ++playback_.waitDepth_; }
  ~WaitScope() { --playback_.waitDepth_; }
  WaitScope(const WaitScope&) = delete;
  WaitScope& operator=(const WaitScope&) = delete;

 private:
  Playback& playback_;
};

Playback::Playback(CurrentPlaylist& playlist, Settings& settings, MediaEngine& engine,
                   EventLoop& loop, PlayerView& view, Notifier& notifier, MessageDialogs& dialogs,
                   NowPlaying& nowPlaying, std::mt19937& random, std::ostream& diagnostics)
    : playlist_(playlist),
      settings_(settings),
      engine_(engine),
      loop_(loop),
      view_(view),
      notifier_(notifier),
      dialogs_(dialogs),
      nowPlaying_(nowPlaying),
      random_(random),
      diagnostics_(diagnostics) {
  // The engine's listener thread ends the wait of the loop, which then finds
  // the song over.
  engine_.SetEndListener([&loop] { loop.Wake(); });
}

Playback::~Playback() { engine_.SetEndListener(nullptr); }

bool Playback::StartPlayback() {
  if (playlist_.empty() || waitDepth_ >= kMaxNestedWaits) return false;
  stopRequested_ = false;
  PassScope scope(*this);
  do {
    nowPlaying_.EnsureTitleTimer();
    playlist_.reset();
    const Pass pass = settings_.randomplay ? PlayRandomEntry() : PlayInOrder();
    if (pass == Pass::kStopped) return false;
  } while (settings_.repeat);
  return true;
}

Playback::Pass Playback::PlayInOrder() {
  while (playlist_.next()) {
    if (TryEntry() == Pass::kStopped) return Pass::kStopped;
  }
  return Pass::kEnded;
}

Playback::Pass Playback::PlayRandomEntry() {
  std::uniform_int_distribution<std::size_t> position(0, playlist_.count() - 1);
  playlist_.select(position(random_));
  return TryEntry();
}

Playback::Pass Playback::TryEntry() {
  // A copy: playing may empty the entry or change the list under us.
  const std::string path = playlist_.current();
  if (!IsPlayableFile(path) || !PlaySong(path)) ++failedStarts_;
  if (stopRequested_) return Pass::kStopped;

  // The count is read anew: entries can be added or emptied during a song.
  // A list cleared meanwhile ends playback; a pass over nothing would repeat
  // without playing or waiting.
  const std::size_t count = playlist_.count();
  if (count == 0) return Pass::kStopped;
  if (static_cast<std::size_t>(failedStarts_) >= count) {
    dialogs_.ShowMessageDialog(kPlaybackFailedWarning, kMessageWarning, kButtonsOk);
    failedStarts_ = 0;
    return Pass::kStopped;
  }
  return Pass::kEnded;
}

bool Playback::PlaySong(const std::string& requested) {
  // The caller's string may be the very entry that a refusal empties.
  const std::string path = requested;
  if (engine_.IsLoaded()) {
    engine_.Release();
    nowPlaying_.ReportPlaybackChange();
  }

  if (HasByteAbove126(path)) {
    RefuseSong();
    return true;
  }
  if (!ExistsAndIsNoFolder(path)) {
    SwitchOffRepeatForSingleEntry();
    return true;
  }

  diagnostics_ << playlist_.index() << " *** " << path << '\n'
               << std::string(kDiagnosticRuleWidth, '-') << '\n'
               << std::flush;

  if (!engine_.Load(path)) return false;
  engine_.SetVideoArea(kVideoAreaX, kVideoAreaY, 0, 0);
  engine_.Play(view_.WindowWidget());

  CloseSongNotification();
  nowPlayingNotification_ = nowPlaying_.PresentSong(path);
  if (waitDepth_ < kMaxNestedWaits) WaitForSongEnd();
  nowPlaying_.ReportPlaybackChange();
  return true;
}

void Playback::Stop() {
  if (passDepth_ > 0) stopRequested_ = true;
  if (engine_.IsLoaded()) engine_.Release();
  view_.SetDisplayText(kPlayerTitle);
  nowPlaying_.ReportPlaybackChange();
}

void Playback::RefuseSong() {
  // The refusal replaces the bubble of the song it stopped, so that at most
  // one song bubble is on the screen.
  CloseSongNotification();
  nowPlayingNotification_ = notifier_.ShowNotification(
      "loading Song failed because of\ninvalid characters ", "removed temporary from Playlist",
      kRefusalBubbleSeconds, kNormalUrgency, nullptr, kNotificationIcon);
  if (playlist_.hasCursor()) playlist_.setCurrent(std::string());
  SwitchOffRepeatForSingleEntry();
}

void Playback::SwitchOffRepeatForSingleEntry() {
  if (playlist_.count() == 1 && settings_.repeat) settings_.repeat = false;
}

void Playback::CloseSongNotification() {
  if (nowPlayingNotification_ == nullptr) return;
  notifier_.CloseNotification(nowPlayingNotification_);
  nowPlayingNotification_ = nullptr;
}

bool Playback::SongOver() { return !engine_.IsLoaded() || engine_.Status() == 0; }

void Playback::WaitForSongEnd() {
  WaitScope scope(*this);
  // At least one turn of the loop per song: even a song that ends at once
  // lets the program's events through before the next one starts. Otherwise
  // the loop sleeps until something happens: a handler may stop or replace
  // the song, a timer may tick, or the engine wakes it when the song's sound
  // has finished. Nothing here wakes up by itself.
  loop_.Iterate(SongOver() ? 0 : EventLoop::kNoTimeout);
  while (!SongOver()) loop_.Iterate(EventLoop::kNoTimeout);
}

}  // namespace orvo

#include "playback/now_playing.h"

#include <algorithm>
#include <utility>

#include "base/latin1.h"
#include "core/media_engine.h"
#include "core/player_view.h"
#include "core/settings.h"
#include "playlist/path_list.h"

namespace orvo {

namespace {

constexpr int kSongBubbleSeconds = 8;
constexpr int kPlaylistEndBubbleSeconds = 3;
constexpr int kNormalUrgency = 1;

// cycle_title: -1 leaves the display alone, 0 shows the file name, and every
// other value (1, or anything a hand-edited file holds) scrolls.
constexpr int kCycleOff = -1;
constexpr int kCycleFileName = 0;

bool IsContinuationByte(unsigned char c) { return (c & 0xC0) == 0x80; }

std::size_t SequenceLength(unsigned char lead) {
  if (lead >= 0xF0 && lead <= 0xF7) return 4;
  if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
  if (lead >= 0xC0) return 2;
  return 1;
}

}  // namespace

std::string DisplayLine(const std::string& text) {
  std::string line;
  line.reserve(text.size() + 3);
  for (char c : text) {
    if (c == '\n' || c == '\r') {
      line += " - ";
    } else {
      line += c;
    }
  }
  line += " - ";
  return line;
}

std::string FileNamePart(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string RotateFirstCharacter(const std::string& utf8) {
  if (utf8.empty()) return utf8;
  const std::size_t wanted = SequenceLength(static_cast<unsigned char>(utf8[0]));
  std::size_t length = 1;
  // Only real continuation bytes belong to the character, so a truncated or
  // broken sequence never swallows the next character.
  while (length < wanted && length < utf8.size() &&
         IsContinuationByte(static_cast<unsigned char>(utf8[length]))) {
    ++length;
  }
  return utf8.substr(length) + utf8.substr(0, length);
}

int TitleTimerPeriodMs(int cycleTime) { return std::clamp(cycleTime, 1, 10) * 100; }

NowPlaying::NowPlaying(const CurrentPlaylist& playlist, const Settings& settings,
                       MediaEngine& engine, EventLoop& loop, PlayerView& view, Notifier& notifier,
                       Describer describe)
    : playlist_(playlist),
      settings_(settings),
      engine_(engine),
      loop_(loop),
      view_(view),
      notifier_(notifier),
      describe_(std::move(describe)) {}

NowPlaying::~NowPlaying() {
  if (timerActive_) loop_.RemoveTimer(timer_);
}

NotificationHandle NowPlaying::PresentSong(const std::string& path) {
  const std::string description = describe_(path);
  view_.SetDisplayText(ToUtf8(DisplayLine(description)));

  const std::string position = std::to_string(playlist_.index() + 1) + " of " +
                               std::to_string(playlist_.count());
  NotificationHandle bubble =
      notifier_.ShowNotification("Now playing song " + position, description + "\n",
                                 kSongBubbleSeconds, kNormalUrgency, nullptr, kNotificationIcon);
  view_.SetTooltip("Current Song: " + position + "\n" + description);
  if (observer_ != nullptr) {
    observer_->SongStarted(static_cast<std::size_t>(playlist_.index()), path);
  }
  return bubble;
}

void NowPlaying::TogglePause() {
  if (!engine_.IsLoaded()) return;
  const int status = engine_.Status();
  if (status > 0) {
    engine_.Pause();
    pausedText_ = view_.DisplayText();
    view_.SetDisplayText(kPausedMarker);
  } else if (status == -1) {
    engine_.Resume();
    view_.SetDisplayText(pausedText_);
  }
  ReportPlaybackChange();
}

void NowPlaying::ReportPlaybackChange() {
  if (observer_ != nullptr) observer_->PlaybackChanged();
}

void NowPlaying::EnsureTitleTimer() {
  if (timerActive_) return;
  timer_ = loop_.AddTimer(TitleTimerPeriodMs(settings_.cycle_time), [this] { return TitleTimer(); });
  timerActive_ = true;
}

bool NowPlaying::TitleTimer() {
  const int mode = settings_.cycle_title;
  if (mode == kCycleOff) {
    timerActive_ = false;
    return false;
  }
  if (!engine_.IsLoaded()) return true;
  if (engine_.Status() != 0) {
    if (mode == kCycleFileName) {
      ShowFileName();
    } else {
      view_.SetDisplayText(RotateFirstCharacter(view_.DisplayText()));
    }
    return true;
  }
  // The song has ended. While a pass is still running it will start the next
  // song (or end) as soon as its waiting song gets control back.
  if (!playbackEnded_ || settings_.repeat) return true;
  AnnouncePlaylistEnd();
  return false;
}

void NowPlaying::ShowFileName() {
  if (!playlist_.hasCursor()) return;
  view_.SetDisplayText(ToUtf8(DisplayLine(FileNamePart(playlist_.current()))));
}

void NowPlaying::AnnouncePlaylistEnd() {
  view_.SetDisplayText(kPlayerTitle);
  notifier_.ShowNotification("current Playlist", "the current Playlist is finished....",
                             kPlaylistEndBubbleSeconds, kNormalUrgency, nullptr, kNotificationIcon);
  engine_.Release();
  ReportPlaybackChange();
  playbackEnded_ = false;
  timerActive_ = false;
}

void NowPlaying::PlaybackStarted() { playbackEnded_ = false; }

void NowPlaying::PlaybackEnded() { playbackEnded_ = true; }

}  // namespace orvo

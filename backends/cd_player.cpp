#include "backends/cd_player.h"

#include <cdio/cdio.h>
// audio.h needs the driver types of cdio.h first.
#include <cdio/audio.h>
#include <cdio/device.h>
#include <cdio/logging.h>

namespace orvo {

namespace {

struct CdioDeleter {
  void operator()(CdIo_t* cdio) const noexcept { cdio_destroy(cdio); }
};
using CdioPtr = std::unique_ptr<CdIo_t, CdioDeleter>;

struct DeviceListDeleter {
  void operator()(char** list) const noexcept { cdio_free_device_list(list); }
};

// libcdio reports an empty drive or an unreadable disc on standard error;
// the player answers such a drive with its own warning instead.
void QuietLog(cdio_log_level_t, const char*) {}

}  // namespace

struct CdPlayer::Drive {
  std::string name;
  CdioPtr cdio;
  // The numbers of the disc's audio tracks in the table of contents, in
  // order. A mixed-mode disc starts with a data track, an enhanced one ends
  // with one, and a disc of a set may start at a number above 1; a drive
  // asked to play a data track or a missing number plays nothing.
  std::vector<track_t> audioTracks;

  // Reopening is how the table of contents is read again: a disc may have
  // been changed since the last look.
  void Refresh() {
    cdio.reset(cdio_open(name.c_str(), DRIVER_UNKNOWN));
    audioTracks.clear();
    if (!cdio) return;
    const track_t first = cdio_get_first_track_num(cdio.get());
    const track_t count = cdio_get_num_tracks(cdio.get());
    if (first == CDIO_INVALID_TRACK || count == CDIO_INVALID_TRACK) return;
    for (int number = first; number < first + count; ++number) {
      const auto track = static_cast<track_t>(number);
      if (cdio_get_track_format(cdio.get(), track) == TRACK_FORMAT_AUDIO) {
        audioTracks.push_back(track);
      }
    }
  }
};

CdPlayer::CdPlayer() = default;
CdPlayer::~CdPlayer() = default;

int CdPlayer::OpenDrives() {
  cdio_log_set_handler(QuietLog);
  std::unique_ptr<char*, DeviceListDeleter> devices(cdio_get_devices(DRIVER_DEVICE));
  std::vector<std::string> names;
  for (char** device = devices.get(); device && *device; ++device) names.emplace_back(*device);
  return OpenSources(names);
}

int CdPlayer::OpenSources(const std::vector<std::string>& sources) {
  cdio_log_set_handler(QuietLog);
  drives_.clear();
  for (const std::string& source : sources) {
    auto drive = std::make_unique<Drive>();
    drive->name = source;
    drives_.push_back(std::move(drive));
  }
  current_ = 0;
  if (!drives_.empty()) drives_.front()->Refresh();
  return DriveCount();
}

void CdPlayer::SelectDrive(int i) {
  if (i < 0 || i >= DriveCount()) return;
  current_ = i;
  drives_[static_cast<size_t>(i)]->Refresh();
}

std::string CdPlayer::DriveName() const {
  if (drives_.empty()) return std::string();
  return drives_[static_cast<size_t>(current_)]->name;
}

int CdPlayer::TrackCount() const {
  if (drives_.empty()) return 0;
  return static_cast<int>(drives_[static_cast<size_t>(current_)]->audioTracks.size());
}

std::optional<std::pair<int, int>> CdPlayer::AudioSpan(int first, int last) const {
  if (drives_.empty()) return std::nullopt;
  const Drive& drive = *drives_[static_cast<size_t>(current_)];
  const auto count = static_cast<int>(drive.audioTracks.size());
  if (!drive.cdio || first < 1 || last < first || last > count) return std::nullopt;
  const lsn_t start = cdio_get_track_lsn(drive.cdio.get(), drive.audioTracks[first - 1]);
  // Up to the next track or the lead-out, whichever follows the last one.
  const lsn_t end = cdio_get_track_last_lsn(drive.cdio.get(), drive.audioTracks[last - 1]);
  if (start == CDIO_INVALID_LSN || end == CDIO_INVALID_LSN) return std::nullopt;
  return std::make_pair(int{start}, int{end} + 1);
}

void CdPlayer::PlayTracks(int first, int last) {
  const std::optional<std::pair<int, int>> span = AudioSpan(first, last);
  if (!span) return;
  msf_t start;
  msf_t end;
  cdio_lsn_to_msf(span->first, &start);
  cdio_lsn_to_msf(span->second, &end);
  // Drives and images that cannot play audio report it; nothing is shown.
  (void)cdio_audio_play_msf(drives_[static_cast<size_t>(current_)]->cdio.get(), &start, &end);
}

int CdPlayer::DriveCount() const { return static_cast<int>(drives_.size()); }

}  // namespace orvo

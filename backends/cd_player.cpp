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
  int tracks = 0;

  // Reopening is how the table of contents is read again: a disc may have
  // been changed since the last look.
  void Refresh() {
    cdio.reset(cdio_open(name.c_str(), DRIVER_UNKNOWN));
    tracks = 0;
    if (!cdio) return;
    const track_t count = cdio_get_num_tracks(cdio.get());
    if (count != CDIO_INVALID_TRACK) tracks = count;
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
  return drives_[static_cast<size_t>(current_)]->tracks;
}

void CdPlayer::PlayTracks(int first, int last) {
  if (drives_.empty()) return;
  Drive& drive = *drives_[static_cast<size_t>(current_)];
  if (!drive.cdio || first < 1 || last < first || last > drive.tracks) return;
  msf_t start;
  msf_t end;
  cdio_lsn_to_msf(cdio_get_track_lsn(drive.cdio.get(), static_cast<track_t>(first)), &start);
  // The end of the last track is the start of the next one, or the lead-out.
  const track_t after = last == drive.tracks ? static_cast<track_t>(CDIO_CDROM_LEADOUT_TRACK)
                                             : static_cast<track_t>(last + 1);
  cdio_lsn_to_msf(cdio_get_track_lsn(drive.cdio.get(), after), &end);
  // Drives and images that cannot play audio report it; nothing is shown.
  (void)cdio_audio_play_msf(drive.cdio.get(), &start, &end);
}

int CdPlayer::DriveCount() const { return static_cast<int>(drives_.size()); }

}  // namespace orvo

#pragma once

#include <string>
#include <vector>

#include "backends/cd_player.h"
#include "base/background_task.h"
#include "core/cd_drives.h"

namespace orvo {

// The CD-ROM drives, opened on a thread of their own: finding the drives and
// reading the first one's table of contents can take long (a disc may have
// to spin up), and nothing of it is needed before the add menu or a CD is
// played. Every other operation first waits for the opening to finish; all
// of them run on the caller's thread.
class BackgroundDrives final : public CdDrives {
 public:
  BackgroundDrives() = default;
  ~BackgroundDrives() override = default;
  BackgroundDrives(const BackgroundDrives&) = delete;
  BackgroundDrives& operator=(const BackgroundDrives&) = delete;

  // Starts CdPlayer::OpenDrives (every drive the machine has) or
  // CdPlayer::OpenSources (the given devices or disc images).
  void OpenDrives();
  void OpenSources(std::vector<std::string> sources);

  int DriveCount() const override;
  void SelectDrive(int i) override;
  std::string DriveName() const override;
  int TrackCount() const override;
  void PlayTracks(int first, int last) override;

 private:
  CdPlayer& Ready() const;

  // The task is declared after the player, so that it is destroyed first:
  // its destructor waits for the opening before the player goes.
  mutable CdPlayer player_;
  BackgroundTask opening_;
};

}  // namespace orvo

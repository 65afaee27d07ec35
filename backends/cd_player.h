#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/cd_drives.h"

namespace orvo {

// The CD-ROM drives of the machine through libcdio.
class CdPlayer : public CdDrives {
 public:
  CdPlayer();
  ~CdPlayer() override;
  CdPlayer(const CdPlayer&) = delete;
  CdPlayer& operator=(const CdPlayer&) = delete;

  // Opens every CD-ROM drive libcdio finds; drive 0 becomes current.
  // Returns the number of drives, 0 when there is no CD support.
  int OpenDrives();
  // Opens the given devices or disc images (CUE files) as the drives.
  int OpenSources(const std::vector<std::string>& sources);

  int DriveCount() const override;
  void SelectDrive(int i) override;
  std::string DriveName() const override;
  int TrackCount() const override;
  void PlayTracks(int first, int last) override;

 private:
  struct Drive;
  std::vector<std::unique_ptr<Drive>> drives_;
  int current_ = 0;
};

}  // namespace orvo

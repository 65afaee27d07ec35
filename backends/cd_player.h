#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
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

  // The sectors [start, end) that PlayTracks(first, last) has the current
  // drive play: from the start of the first of these audio tracks to the
  // end of the last. Nothing for tracks the disc does not have.
  std::optional<std::pair<int, int>> AudioSpan(int first, int last) const;

 private:
  struct Drive;
  std::vector<std::unique_ptr<Drive>> drives_;
  int current_ = 0;
};

}  // namespace orvo

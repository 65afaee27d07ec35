#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ui/player_actions.h"

namespace orvo {

// The five operations of a CD-ROM back end that playing a disc needs.
class CdDrive {
 public:
  virtual ~CdDrive() = default;
  // Makes drive i current and refreshes its table of contents; an index out
  // of range changes nothing.
  virtual void SelectDrive(int i) = 0;
  virtual std::string DriveName() const = 0;
  // Audio tracks in the current drive's table of contents; 0 without a
  // disc or on a disc of data only.
  virtual int TrackCount() const = 0;
  // Plays audio tracks first..last (1-based among the audio tracks,
  // inclusive) on the current drive.
  virtual void PlayTracks(int first, int last) = 0;
};

// The CD-ROM drives of the machine through libcdio. The drive plays the disc
// itself; nothing of it passes through the media engine.
class CdPlayer : public CdDrive, public DriveList {
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

  void SelectDrive(int i) override;
  std::string DriveName() const override;
  int TrackCount() const override;
  void PlayTracks(int first, int last) override;

  // The sectors [start, end) that PlayTracks(first, last) has the current
  // drive play: from the start of the first of these audio tracks to the
  // end of the last. Nothing for tracks the disc does not have.
  std::optional<std::pair<int, int>> AudioSpan(int first, int last) const;

  int DriveCount() const override;
  std::string SelectAndName(int i) override;

 private:
  struct Drive;
  std::vector<std::unique_ptr<Drive>> drives_;
  int current_ = 0;
};

}  // namespace orvo

#pragma once

#include <string>

namespace orvo {

// The machine's CD-ROM drives as the menus and audio-CD playback see them.
// One drive is current at a time; the drive plays the disc itself, nothing of
// it passes through the media engine.
class CdDrives {
 public:
  virtual ~CdDrives() = default;
  // 0 without drives or without CD support.
  virtual int DriveCount() const = 0;
  // Makes drive i current and refreshes its table of contents; an index out
  // of range changes nothing.
  virtual void SelectDrive(int i) = 0;
  // The current drive's system name.
  virtual std::string DriveName() const = 0;
  // Audio tracks in the current drive's table of contents; 0 without a
  // disc or on a disc of data only.
  virtual int TrackCount() const = 0;
  // Plays audio tracks first..last (1-based among the audio tracks,
  // inclusive) on the current drive.
  virtual void PlayTracks(int first, int last) = 0;
};

}  // namespace orvo

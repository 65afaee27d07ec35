#include "playback/play_audio_cd.h"

#include "core/cd_drives.h"
#include "core/message_dialogs.h"
#include "core/settings.h"

namespace orvo {

bool PlayAudioCd(int drive, CdDrives& cd, const Settings& settings, MessageDialogs& dialogs) {
  cd.SelectDrive(drive);
  const int tracks = cd.TrackCount();
  if (tracks > 0) {
    if (settings.instantplay) cd.PlayTracks(1, tracks);
  } else {
    dialogs.ShowMessageDialog("Found no Audio Track on this CD!", kMessageWarning, kButtonsOk);
  }
  return true;
}

}  // namespace orvo

#include "playlist/play_audio_cd.h"

#include "app/message_dialog.h"
#include "app/settings.h"
#include "playlist/cd_player.h"

namespace orvo {

bool PlayAudioCd(int drive, CdDrive& cd, const Settings& settings, MessageDialogs& dialogs) {
  cd.SelectDrive(drive);
  const int tracks = cd.TrackCount();
  if (tracks > 0) {
    if (settings.instantplay != 0) cd.PlayTracks(1, tracks);
  } else {
    dialogs.ShowMessageDialog("Found no Audio Track on this CD!", kMessageWarning, kButtonsOk);
  }
  return true;
}

}  // namespace orvo

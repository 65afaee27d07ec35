#pragma once

namespace orvo {

class CdDrives;
class MessageDialogs;
struct Settings;

// Plays the whole disc in drive `drive` when instant play is on; warns when
// the drive reports no track.
bool PlayAudioCd(int drive, CdDrives& cd, const Settings& settings, MessageDialogs& dialogs);

}  // namespace orvo

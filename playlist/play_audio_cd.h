#pragma once

namespace orvo {

class CdDrive;
class MessageDialogs;
struct Settings;

// Plays the whole disc in drive `drive` when instant play is on; warns when
// the drive reports no track.
bool PlayAudioCd(int drive, CdDrive& cd, const Settings& settings, MessageDialogs& dialogs);

}  // namespace orvo

#include "backends/background_drives.h"

#include <utility>

namespace orvo {

void BackgroundDrives::OpenDrives() {
  opening_.Start([player = &player_] { player->OpenDrives(); });
}

void BackgroundDrives::OpenSources(std::vector<std::string> sources) {
  opening_.Start([player = &player_, sources = std::move(sources)] { player->OpenSources(sources); });
}

CdPlayer& BackgroundDrives::Ready() const {
  opening_.Wait();
  return player_;
}

void BackgroundDrives::SelectDrive(int i) { Ready().SelectDrive(i); }
std::string BackgroundDrives::DriveName() const { return Ready().DriveName(); }
int BackgroundDrives::TrackCount() const { return Ready().TrackCount(); }
void BackgroundDrives::PlayTracks(int first, int last) { Ready().PlayTracks(first, last); }
int BackgroundDrives::DriveCount() const { return Ready().DriveCount(); }

}  // namespace orvo

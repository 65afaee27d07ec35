#pragma once

#include <cstddef>
#include <iosfwd>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "core/media_controls.h"

namespace orvo {

// The player on the session bus as an MPRIS 2.2 media player
// (org.mpris.MediaPlayer2 and its Player interface at /org/mpris/MediaPlayer2
// under the name kBusName), so that media keys, the panel's media widget,
// the lock screen and tools like playerctl control it.
//
// Every method call is answered at once and carried out afterwards from the
// main loop, one idle callback per call in the order received: a command that
// starts playback does not return until its songs have ended, and the caller
// must have its reply long before that. Properties are read live; a change
// reported by playback is announced with PropertiesChanged once the main loop
// is idle, so that the stop and start that make up a change of song come out
// as one change.
//
// Without a session bus, or when another process owns the name, the player
// runs as before; the service says so once on `diagnostics` and stays silent.
class MprisService final : public PlaybackObserver {
 public:
  static constexpr const char* kBusName = "org.mpris.MediaPlayer2.orvo_m";

  // Both references must outlive this object.
  MprisService(MediaControls& controls, std::ostream& diagnostics);
  ~MprisService() override;
  MprisService(const MprisService&) = delete;
  MprisService& operator=(const MprisService&) = delete;

  // Asks the session bus for the name. The answer, the method calls and the
  // updates all arrive in the GLib main context that is the calling thread's
  // default (the GUI thread's main loop). Call once.
  void Start();

  // PlaybackObserver
  void SongStarted(std::size_t position, const std::string& path) override;
  void PlaybackChanged() override;

 private:
  struct Bus;
  struct Track {
    std::size_t position = 0;
    std::string path;
    std::optional<TrackDescription> description;  // read when first asked for
  };
  enum class Command;
  struct PendingCall;

  void Announce();
  void Defer(Command command);
  void Carry(Command command);
  void SayUnavailable(const std::string& reason);

  MediaControls& controls_;
  std::ostream& diagnostics_;
  std::unique_ptr<Bus> bus_;
  std::optional<Track> track_;
  std::set<unsigned> pendingCalls_;  // GLib source ids of calls not yet carried out
  bool saidUnavailable_ = false;
};

}  // namespace orvo

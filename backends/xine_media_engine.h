#pragma once

#include <functional>
#include <memory>

#include "core/media_engine.h"

namespace orvo {

// The media engine over libxine 1.2. Plays sound only: no video port and no
// video window are opened, so the video area is only remembered. The audio
// output (the system's default driver) is opened with the first song and kept
// until Shutdown; each song object owns one stream and its event queue.
// Only regular files are loaded; libxine opens them through the descriptor
// that the check was made on, or a file modified in the last seconds through
// a private copy (libxine would take it for one still being written and
// pause in the middle of the song). Musepack files are decoded by a thread of
// their song object into a nameless temporary WAV file that libxine plays
// while it is written (MpcWavStream).
//
// All calls come from one thread. At the end of a song, libxine's event
// listener thread waits for the output to play out what it holds, sets the
// song's end flag and calls the end listener; the decoder thread shares
// nothing else.
class XineMediaEngine final : public MediaEngine {
 public:
  XineMediaEngine();
  ~XineMediaEngine() override;
  XineMediaEngine(const XineMediaEngine&) = delete;
  XineMediaEngine& operator=(const XineMediaEngine&) = delete;

  // The program sets JACK_NO_START_SERVER=1 before (app/main.cpp), so that
  // probing the audio drivers never starts a sound server.
  void Initialise() override;
  bool IsLoaded() const override;
  void Release() override;
  bool Load(const std::string& path) override;
  void SetVideoArea(int x, int y, int width, int height) override;
  void Play(GtkWidget* parentWindow) override;
  // A song that reached its end still counts as playing until the audio
  // output has played out what it holds, so that releasing it then loses no
  // sound.
  int Status() override;
  // The listener is handed to each song object when it is loaded.
  void SetEndListener(std::function<void()> ended) override;
  int LengthMs() override;
  void Pause() override;
  void Resume() override;
  void Stop() override;
  void Shutdown() override;

 private:
  struct Engine;
  class Song;

  bool EnsureInitialised();

  std::unique_ptr<Engine> engine_;
  std::unique_ptr<Song> song_;
  std::function<void()> endListener_;
  struct VideoArea {
    int x = 0, y = 0, width = 0, height = 0;
  } videoArea_;
};

}  // namespace orvo

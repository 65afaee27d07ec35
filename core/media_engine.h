#pragma once

#include <functional>
#include <string>

typedef struct _GtkWidget GtkWidget;

namespace orvo {

// The playback back end: at most one song object at a time. The real engine
// plays through libxine; sequencing code only sees this interface.
class MediaEngine {
 public:
  virtual ~MediaEngine() = default;

  virtual void Initialise() = 0;
  // True while a song object exists (loaded, playing, paused or ended).
  virtual bool IsLoaded() const = 0;
  // Stops and discards the song object, if any.
  virtual void Release() = 0;
  // Creates the song object for `path`; true when the engine can open it.
  // A failed load still leaves a song object until the next Release.
  virtual bool Load(const std::string& path) = 0;
  virtual void SetVideoArea(int x, int y, int width, int height) = 0;
  // Starts the loaded song from its beginning. `parentWindow` is the player
  // window.
  virtual void Play(GtkWidget* parentWindow) = 0;
  // 1 playing, -1 paused, 0 otherwise: ended (its sound has finished),
  // stopped, or no song object.
  virtual int Status() = 0;
  // `ended` is called, on any thread, whenever a song loaded from now on
  // reaches Status 0 by itself (its sound has finished), so that whoever
  // waits for that need not ask Status over and over. Every other change of
  // Status follows a call of this interface. An empty function: nobody.
  virtual void SetEndListener(std::function<void()> ended) = 0;
  virtual void Pause() = 0;
  virtual void Resume() = 0;
  virtual void Stop() = 0;
  // The loaded song's length in milliseconds; 0 while unknown or without a
  // song object.
  virtual int LengthMs() { return 0; }
  // Releases any song object and the engine itself (process end).
  virtual void Shutdown() = 0;
};

}  // namespace orvo

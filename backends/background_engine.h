#pragma once

#include <memory>
#include <string>

#include "base/background_task.h"
#include "core/media_engine.h"

namespace orvo {

// Initialises another engine on a thread of its own, so that the engine's
// start (libxine loads its plugins and probes the sound server) overlaps
// what the GUI thread does until playback starts. Every other operation
// first waits for that initialisation to finish; all of them run on the
// caller's thread.
class BackgroundEngine final : public MediaEngine {
 public:
  explicit BackgroundEngine(std::unique_ptr<MediaEngine> engine);
  ~BackgroundEngine() override;
  BackgroundEngine(const BackgroundEngine&) = delete;
  BackgroundEngine& operator=(const BackgroundEngine&) = delete;

  void Initialise() override;
  bool IsLoaded() const override;
  void Release() override;
  bool Load(const std::string& path) override;
  void SetVideoArea(int x, int y, int width, int height) override;
  void Play(GtkWidget* parentWindow) override;
  int Status() override;
  void SetEndListener(std::function<void()> ended) override;
  int LengthMs() override;
  void Pause() override;
  void Resume() override;
  void Stop() override;
  void Shutdown() override;

 private:
  MediaEngine& Ready() const;

  // Declared after the engine, so that it is destroyed first: its destructor
  // waits for the initialisation before the engine goes.
  std::unique_ptr<MediaEngine> engine_;
  BackgroundTask starting_;
};

}  // namespace orvo

#include "backends/background_engine.h"

#include <utility>

namespace orvo {

BackgroundEngine::BackgroundEngine(std::unique_ptr<MediaEngine> engine)
    : engine_(std::move(engine)) {}

BackgroundEngine::~BackgroundEngine() = default;

void BackgroundEngine::Initialise() {
  starting_.Start([engine = engine_.get()] { engine->Initialise(); });
}

MediaEngine& BackgroundEngine::Ready() const {
  starting_.Wait();
  return *engine_;
}

bool BackgroundEngine::IsLoaded() const { return Ready().IsLoaded(); }
void BackgroundEngine::Release() { Ready().Release(); }
bool BackgroundEngine::Load(const std::string& path) { return Ready().Load(path); }
void BackgroundEngine::SetVideoArea(int x, int y, int width, int height) {
  Ready().SetVideoArea(x, y, width, height);
}
void BackgroundEngine::Play(GtkWidget* parentWindow) { Ready().Play(parentWindow); }
int BackgroundEngine::Status() { return Ready().Status(); }
void BackgroundEngine::SetEndListener(std::function<void()> ended) {
  Ready().SetEndListener(std::move(ended));
}
int BackgroundEngine::LengthMs() { return Ready().LengthMs(); }
void BackgroundEngine::Pause() { Ready().Pause(); }
void BackgroundEngine::Resume() { Ready().Resume(); }
void BackgroundEngine::Stop() { Ready().Stop(); }
void BackgroundEngine::Shutdown() { Ready().Shutdown(); }

}  // namespace orvo

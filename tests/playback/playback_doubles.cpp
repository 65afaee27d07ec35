#include "playback_doubles.h"

#include <algorithm>
#include <stdexcept>

namespace orvo::test {

namespace {
// A sequencing fault that loops without end fails the test instead of hanging.
constexpr int kIterationLimit = 2'000'000;
}  // namespace

void VirtualLoop::Iterate(int maxWaitMs) {
  if (++iterations_ > kIterationLimit) throw std::runtime_error("event loop runs away");
  if (maxWaitMs <= 0) ++nonBlocking_;
  const long wait = std::max(maxWaitMs, 0);
  TimerId earliest = 0;
  for (const auto& [id, timer] : timers_) {
    if (timer.running || timer.removed) continue;
    if (earliest == 0 || timer.due < timers_.at(earliest).due) earliest = id;
  }
  if (earliest == 0 || timers_.at(earliest).due > now_ + wait) {
    now_ += wait;
    return;
  }
  now_ = std::max(now_, timers_.at(earliest).due);
  Dispatch(earliest);
}

void VirtualLoop::Dispatch(TimerId id) {
  timers_.at(id).running = true;
  const bool keep = timers_.at(id).tick();
  Timer& timer = timers_.at(id);  // std::map nodes stay put while others come and go
  timer.running = false;
  if (!keep || timer.oneShot || timer.removed) {
    timers_.erase(id);
  } else {
    timer.due += timer.period;
  }
}

EventLoop::TimerId VirtualLoop::AddTimer(int periodMs, std::function<bool()> tick) {
  periods_.push_back(periodMs);
  const TimerId id = nextId_++;
  timers_.emplace(id, Timer{now_ + periodMs, periodMs, false, std::move(tick)});
  return id;
}

void VirtualLoop::RemoveTimer(TimerId id) {
  auto it = timers_.find(id);
  if (it == timers_.end()) return;
  if (it->second.running) {
    it->second.removed = true;  // erased when its callback returns
  } else {
    timers_.erase(it);
  }
}

void VirtualLoop::At(long at, std::function<void()> action) {
  const TimerId id = nextId_++;
  timers_.emplace(id, Timer{at, 0, true, [action = std::move(action)] {
                              action();
                              return false;
                            }});
}

void VirtualLoop::RunUntil(long until) {
  while (now_ < until) Iterate(static_cast<int>(std::min(until - now_, 100L)));
}

void ScriptedEngine::Release() {
  calls.push_back("Release");
  loaded_ = playing_ = stopped_ = false;
}

bool ScriptedEngine::Load(const std::string& path) {
  calls.push_back("Load " + path);
  loaded_ = true;
  playing_ = stopped_ = false;
  path_ = path;
  return failing_.count(path) == 0;
}

void ScriptedEngine::SetVideoArea(int x, int y, int width, int height) {
  calls.push_back("SetVideoArea " + std::to_string(x) + "," + std::to_string(y) + "," +
                  std::to_string(width) + "," + std::to_string(height));
}

void ScriptedEngine::Play(GtkWidget* parentWindow) {
  calls.push_back(parentWindow != nullptr ? "Play" : "Play without window");
  if (!loaded_ || failing_.count(path_) != 0) return;
  played.push_back(path_);
  playing_ = true;
  startedAt_ = clock_.now();
  pausedAt_ = -1;
  pausedTotal_ = 0;
  ArmEnd();
}

void ScriptedEngine::ArmEnd() {
  const int start = ++started_;
  if (!ended_) return;
  clock_.At(EndTime(), [this, start] {
    if (start == started_ && playing_ && !stopped_ && Status() == 0) ended_();
  });
}

long ScriptedEngine::EndTime() const {
  auto it = lengths_.find(path_);
  const long length = it == lengths_.end() ? kDefaultLengthMs : it->second;
  return startedAt_ + pausedTotal_ + length;
}

int ScriptedEngine::Status() {
  if (!loaded_ || !playing_ || stopped_) return 0;
  if (pausedAt_ >= 0) return -1;
  return clock_.now() < EndTime() ? 1 : 0;
}

void ScriptedEngine::Pause() {
  calls.push_back("Pause");
  if (Status() == 1) pausedAt_ = clock_.now();
}

void ScriptedEngine::Resume() {
  calls.push_back("Resume");
  if (pausedAt_ < 0) return;
  pausedTotal_ += clock_.now() - pausedAt_;
  pausedAt_ = -1;
  ArmEnd();
}

void ScriptedEngine::Stop() {
  calls.push_back("Stop");
  stopped_ = true;
}

void RecordingView::SetDisplayText(const std::string& utf8) {
  display = utf8;
  displayHistory.push_back(utf8);
}

PlaybackHarness::PlaybackHarness(std::uint32_t seed)
    : random(seed),
      nowPlaying(playlist, settings, engine, loop, view, notifier,
                 [this](const std::string& path) {
                   auto it = descriptions.find(path);
                   return it == descriptions.end() ? path : it->second;
                 }),
      playback(playlist, settings, engine, loop, view, notifier, dialogs, nowPlaying, random,
               diagnostics) {}

std::vector<std::string> PlaybackHarness::MakeSongs(int count, long lengthMs) {
  std::vector<std::string> paths;
  for (int i = 0; i < count; ++i) {
    paths.push_back(folder.File("song" + std::to_string(i) + ".mp3"));
    engine.SetLength(paths.back(), lengthMs);
  }
  return paths;
}

void PlaybackHarness::Fill(const std::vector<std::string>& paths) {
  playlist.clear();
  for (const std::string& path : paths) playlist.add(path);
}

}  // namespace orvo::test

#pragma once

// Playback and the now-playing display wired to doubles in virtual time: no display, no sound.

#include <sys/stat.h>

#include <climits>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <stdexcept>

#include "core/media_engine.h"
#include "core/settings.h"
#include "playback/now_playing.h"
#include "playback/playback.h"
#include "playlist/path_list.h"
#include "tests/playback/recording_doubles.h"
#include "tests/support/scratch_dir.h"

namespace orvo::test {

// A main loop in virtual milliseconds: Iterate runs the earliest timer due within the wait (never
// one whose callback is running, like GLib) or lets the wait pass. A timer of period 0 runs once.
class VirtualLoop : public EventLoop {
 public:
  struct Timer { long due; int period; std::function<bool()> tick; bool running = false, removed = false; };
  void Iterate(int maxWaitMs) override {
    if (++iterations > 2'000'000) throw std::runtime_error("the event loop runs away");  // not a hang
    const auto due = std::min_element(timers.begin(), timers.end(), [](const auto& a, const auto& b) {
      return (a.second.running ? LONG_MAX : a.second.due) < (b.second.running ? LONG_MAX : b.second.due);
    });
    const long limit = maxWaitMs == kNoTimeout ? LONG_MAX : now + maxWaitMs;
    const long ends = std::max(now, nextEnd ? nextEnd() : LONG_MAX);
    if (due == timers.end() || due->second.running || due->second.due > std::min(limit, ends)) {
      // The engine's end wakes a wait only through the listener it tells.
      if (ends <= limit && (now = ends, woken = false, songEnded(), woken)) return;
      if (limit == LONG_MAX) throw std::runtime_error("the event loop waits for ever");
      now = limit;
      return;
    }
    Timer& timer = due->second;  // map nodes stay put while other timers come and go
    now = std::max(now, timer.due);
    timer.running = true;
    const bool keep = timer.tick() && timer.period > 0 && !timer.removed;
    timer.running = false;
    timer.due += timer.period;
    if (!keep) timers.erase(due);
  }
  void Wake() override { woken = true; }
  TimerId AddTimer(int periodMs, std::function<bool()> tick) override {
    periods.push_back(periodMs);
    timers[++lastId] = Timer{now + periodMs, periodMs, std::move(tick)};
    return lastId;
  }
  void RemoveTimer(TimerId id) override {
    if (timers.count(id) && timers[id].running) timers[id].removed = true;
    if (timers.count(id) && !timers[id].running) timers.erase(id);
  }
  // A handler the user triggers at `at`; RunUntil runs the loop as a nested window does.
  void At(long at, std::function<void()> action) { timers[++lastId] = Timer{at, 0, [action] { return action(), false; }}; }
  void RunUntil(long until) { while (now < until) Iterate(int(std::min(until - now, 100L))); }

  long now = 0;
  int iterations = 0;
  bool woken = false;
  std::function<long()> nextEnd;  // when the engine's song ends by itself, if anybody listens
  std::function<void()> songEnded;
  TimerId lastId = 0;
  std::vector<int> periods;  // of every timer the code under test added
  std::map<TimerId, Timer> timers;
};

// Songs of `songMs` in virtual time, held back by a pause; `calls` keeps every operation but Status
// and IsLoaded, `played` the names of the songs that sounded.
class ScriptedEngine : public MediaEngine {
 public:
  explicit ScriptedEngine(VirtualLoop& loop) : loop_(loop) {
    loop.nextEnd = [this] { return ended_ && Status() == 1 ? end_ : LONG_MAX; };
    loop.songEnded = [this] { ended_(); };
  }
  void Initialise() override {}
  bool IsLoaded() const override { return !name_.empty(); }
  void Release() override { Call("Release"), name_.clear(), end_ = -1; }
  bool Load(const std::string& path) override { return Call("Load " + (name_ = FileNamePart(path))), !failing.count(name_); }
  void SetVideoArea(int x, int y, int w, int h) override { Call("Area " + std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(w + h)); }
  void Play(GtkWidget* parent) override {
    Call(parent ? "Play" : "Play nowhere");
    if (!failing.count(name_)) played += name_ + " ", end_ = loop_.now + songMs, pausedAt_ = -1;
  }
  void SetEndListener(std::function<void()> ended) override { ended_ = std::move(ended); }
  int Status() override { return end_ < 0 ? 0 : pausedAt_ >= 0 ? -1 : loop_.now < end_; }
  void Pause() override { Call("Pause"), pausedAt_ = Status() == 1 ? loop_.now : pausedAt_; }
  void Resume() override { Call("Resume"), end_ += pausedAt_ >= 0 ? loop_.now - pausedAt_ : 0, pausedAt_ = -1; }
  void Stop() override { Call("Stop"), end_ = -1; }
  void Shutdown() override { Release(); }

  long songMs = 1000;
  std::set<std::string> failing;  // names of files whose load fails
  std::string calls, played;

 private:
  void Call(const std::string& call) { calls += call + "|"; }
  const VirtualLoop& loop_;
  std::function<void()> ended_;
  std::string name_;
  long end_ = -1, pausedAt_ = -1;
};

inline constexpr const char* kPlaylistFinished = "current Playlist|the current Playlist is finished....|3";

struct PlaybackHarness {
  explicit PlaybackHarness(std::uint32_t seed = 1) : random(seed) {}
  // Entries are files of these names: songs, or "?name" missing, "_name" empty, "name/" a folder.
  void Fill(const std::vector<std::string>& names) {
    playlist.clear();
    for (const std::string& name : names) {
      if (name.back() == '/') mkdir(folder.file(name).c_str(), 0700);
      if (name[0] != '?' && name.back() != '/') WriteBytes(folder.file(name), name[0] == '_' ? "" : "sound");
      playlist.add(folder.file(name));
    }
  }
  int Announcements() const { return int(std::count(notifier.shown.begin(), notifier.shown.end(), kPlaylistFinished)); }
  void RunFor(long ms) { loop.RunUntil(loop.now + ms); }

  ScratchDir folder;
  VirtualLoop loop;
  ScriptedEngine engine{loop};
  RecordingView view;
  RecordingNotifier notifier;
  RecordingDialogs dialogs;
  CurrentPlaylist playlist;
  Settings settings;
  std::mt19937 random;
  std::ostringstream diagnostics;
  std::map<std::string, std::string> descriptions;  // by file name; the path when none
  NowPlaying nowPlaying{playlist, settings, engine, loop, view, notifier, [this](const std::string& path) {
                          return descriptions.count(FileNamePart(path)) ? descriptions[FileNamePart(path)] : path;
                        }};
  Playback playback{playlist, settings, engine, loop, view, notifier, dialogs, nowPlaying, random, diagnostics};
};

}  // namespace orvo::test

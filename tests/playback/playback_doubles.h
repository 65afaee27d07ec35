#pragma once

// Playback and the now-playing display wired to doubles in virtual time: no display, no sound.

#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <stdexcept>

#include "core/event_loop.h"
#include "core/media_engine.h"
#include "core/settings.h"
#include "playback/now_playing.h"
#include "playback/playback.h"
#include "playlist/path_list.h"
#include "tests/playback/recording_doubles.h"
#include "tests/support/scratch_dir.h"

namespace orvo::test {

// A main loop in virtual milliseconds. Iterate runs the earliest timer due within the wait,
// or lets the wait pass; like GLib it never re-enters a timer whose callback is running.
class VirtualLoop : public EventLoop {
 public:
  void Iterate(int maxWaitMs) override {
    // A sequencing fault that loops without end fails the test instead of hanging it.
    if (++iterations > 2'000'000) throw std::runtime_error("the event loop runs away");
    auto due = timers_.end();
    for (auto it = timers_.begin(); it != timers_.end(); ++it) {
      if (!it->second.running && (due == timers_.end() || it->second.due < due->second.due)) due = it;
    }
    if (due == timers_.end() || due->second.due > now + maxWaitMs) {
      now += maxWaitMs;
      return;
    }
    now = std::max(now, due->second.due);
    Timer& timer = due->second;  // map nodes stay put while other timers come and go
    timer.running = true;
    if (!timer.tick() || timer.period == 0 || timer.removed) {
      timers_.erase(due);
    } else {
      timer.running = false;
      timer.due += timer.period;
    }
  }
  TimerId AddTimer(int periodMs, std::function<bool()> tick) override {
    periods.push_back(periodMs);
    timers_[++lastId_] = Timer{now + periodMs, periodMs, std::move(tick)};
    return lastId_;
  }
  void RemoveTimer(TimerId id) override {
    const auto it = timers_.find(id);
    if (it != timers_.end() && it->second.running) it->second.removed = true;
    if (it != timers_.end() && !it->second.running) timers_.erase(it);
  }
  // A handler the user triggers once at virtual time `at`.
  void At(long at, std::function<void()> action) {
    timers_[++lastId_] = Timer{at, 0, [action] { return action(), false; }};
  }
  // Runs the loop the way a nested window or modal dialog does.
  void RunUntil(long until) {
    while (now < until) Iterate(int(std::min(until - now, 100L)));
  }
  size_t Pending() const { return timers_.size(); }

  long now = 0;
  int iterations = 0;
  std::vector<int> periods;  // of every periodic timer added

 private:
  struct Timer {
    long due;
    int period;  // 0: once
    std::function<bool()> tick;
    bool running = false, removed = false;
  };
  TimerId lastId_ = 0;
  std::map<TimerId, Timer> timers_;
};

// Songs of a second (unless `lengths` says otherwise) in the loop's virtual time; a pause
// holds the song's end back.
class ScriptedEngine : public MediaEngine {
 public:
  explicit ScriptedEngine(const VirtualLoop& loop) : loop_(loop) {}
  void Initialise() override {}
  bool IsLoaded() const override { return loaded_; }
  void Release() override { Call("Release"), loaded_ = playing_ = false; }
  bool Load(const std::string& path) override {
    Call("Load " + path), loaded_ = true, playing_ = false, path_ = path;
    return failing.count(path) == 0;
  }
  void SetVideoArea(int x, int y, int w, int h) override {
    Call("Area " + std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(w) + "," +
         std::to_string(h));
  }
  void Play(GtkWidget* parent) override {
    Call(parent ? "Play" : "Play without window");
    if (!loaded_ || failing.count(path_)) return;
    played.push_back(path_);
    playing_ = true;
    pausedAt_ = -1;
    end_ = loop_.now + (lengths.count(path_) ? lengths[path_] : 1000);
  }
  int Status() override { return !playing_ ? 0 : pausedAt_ >= 0 ? -1 : loop_.now < end_ ? 1 : 0; }
  void Pause() override {
    Call("Pause");
    if (Status() == 1) pausedAt_ = loop_.now;
  }
  void Resume() override {
    Call("Resume");
    if (pausedAt_ >= 0) end_ += loop_.now - pausedAt_;
    pausedAt_ = -1;
  }
  void Stop() override { Call("Stop"), playing_ = false; }
  void Shutdown() override { Release(); }

  std::map<std::string, long> lengths;
  std::set<std::string> failing;    // paths whose load fails
  std::vector<std::string> calls;   // every operation but Status and IsLoaded
  std::vector<std::string> played;  // paths that started to sound, in order

 private:
  void Call(const std::string& call) { calls.push_back(call); }
  const VirtualLoop& loop_;
  bool loaded_ = false, playing_ = false;
  std::string path_;
  long end_ = 0, pausedAt_ = -1;
};

inline constexpr const char* kPlaylistFinished = "the current Playlist is finished....";

struct PlaybackHarness {
  explicit PlaybackHarness(std::uint32_t seed = 1) : random(seed) {}
  // `count` song files of `lengthMs` each.
  std::vector<std::string> Songs(int count, long lengthMs = 1000) {
    std::vector<std::string> paths;
    for (int i = 0; i < count; ++i) paths.push_back(File("song" + std::to_string(i) + ".mp3"));
    for (const std::string& path : paths) engine.lengths[path] = lengthMs;
    return paths;
  }
  std::string File(const std::string& name, const std::string& content = "sound") {
    WriteBytes(folder.file(name), content);
    return folder.file(name);
  }
  void Fill(const std::vector<std::string>& paths) {
    playlist.clear();
    for (const std::string& path : paths) playlist.add(path);
  }
  int Announcements() const { return notifier.Count(kPlaylistFinished); }
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
  std::map<std::string, std::string> descriptions;  // path -> 8-bit text; default: the path
  NowPlaying nowPlaying{playlist, settings, engine, loop, view, notifier, [this](const std::string& p) {
                          return descriptions.count(p) ? descriptions[p] : p;
                        }};
  Playback playback{playlist, settings, engine, loop, view, notifier, dialogs, nowPlaying, random,
                    diagnostics};
};

}  // namespace orvo::test

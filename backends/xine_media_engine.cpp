#include "backends/xine_media_engine.h"

#include <xine.h>
// The audio port's fill level is only offered through the port structure.
#include <xine/audio_out.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

#include "backends/mpc_decoder.h"
#include "backends/mpc_wav_stream.h"
#include "base/temporary_file.h"

namespace orvo {
namespace {

using Clock = std::chrono::steady_clock;

struct XineDeleter {
  void operator()(xine_t* xine) const noexcept { xine_exit(xine); }
};
using XinePtr = std::unique_ptr<xine_t, XineDeleter>;

struct StreamDeleter {
  void operator()(xine_stream_t* stream) const noexcept {
    xine_close(stream);
    xine_dispose(stream);
  }
};
using StreamPtr = std::unique_ptr<xine_stream_t, StreamDeleter>;

struct EventQueueDeleter {
  // Also ends and joins the listener thread.
  void operator()(xine_event_queue_t* queue) const noexcept { xine_event_dispose_queue(queue); }
};
using EventQueuePtr = std::unique_ptr<xine_event_queue_t, EventQueueDeleter>;

// Ports are closed through the engine that opened them.
class AudioPort {
 public:
  AudioPort(xine_t* xine, xine_audio_port_t* port) : xine_(xine), port_(port) {}
  ~AudioPort() { xine_close_audio_driver(xine_, port_); }
  AudioPort(const AudioPort&) = delete;
  AudioPort& operator=(const AudioPort&) = delete;
  xine_audio_port_t* get() const { return port_; }

 private:
  xine_t* xine_;
  xine_audio_port_t* port_;
};

// A descriptor closed with its owner.
class FileDescriptor {
 public:
  FileDescriptor() = default;
  ~FileDescriptor() { Reset(-1); }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  void Reset(int fd) {
    if (fd_ >= 0) close(fd_);
    fd_ = fd;
  }

 private:
  int fd_ = -1;
};

// Opens `path` only when it names a regular file (or a link to one). A pipe,
// a device or a socket would block an ordinary open, or every read, until
// some writer appeared; the open itself does not wait (O_NONBLOCK), and the
// type is checked again on the open file in case the path was swapped in
// between. -1 for anything else.
int OpenRegularFile(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return -1;
  int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return -1;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    return -1;
  }
  return fd;
}

// libxine's file input takes a regular file modified within the last ten
// seconds (its open compares the modification time with time()) for one
// still being written. A read for the demuxer that comes up short at the end
// of such a file then waits, twice for a second, for more, and holds the
// bytes it already has meanwhile. A demuxer reading in large pieces (OGG)
// reaches the end early in a short song, while the held piece still carries
// a good part of it: the sound stops once the rest has played and goes on
// after the wait. Such a file is played from a private copy dated back,
// which libxine reads as a finished file; the user's file stays untouched.
// Two seconds of margin cover clocks that tick in between.
constexpr time_t kGrowingFileSeconds = 10 + 2;

bool LooksBeingWritten(const struct stat& info) {
  time_t age = std::time(nullptr) - info.st_mtime;
  return age <= kGrowingFileSeconds && age >= -kGrowingFileSeconds;
}

// Copying more than this would cost noticeable time and memory in the
// temporary folder; a larger fresh file plays as it is.
constexpr off_t kMaxCopySize = off_t{256} << 20;

// libxine opens the file anew through its descriptor's entry in /proc: it
// reads what was checked, whatever becomes of the path meanwhile.
std::string DescriptorPath(int fd) { return "/proc/self/fd/" + std::to_string(fd); }

// Unless its settings name a way of copying memory, libxine's start times a
// hundred copies of a megabyte with each way it knows and keeps the fastest:
// three quarters of the processor time of its whole start, spent on every
// start because the player keeps no libxine settings file. The C library's
// own copy, which it fits to the processor when the program starts, serves
// audio as well. libxine reads settings only from a file, so a nameless one
// holds this one line; should that fail, libxine measures as before.
void ChooseLibraryMemoryCopy(xine_t* xine) {
  static constexpr char kSetting[] = "engine.performance.memcpy_method:libc\n";
  TemporaryFile settings;
  if (!settings.Create()) return;
  const ssize_t length = static_cast<ssize_t>(sizeof kSetting - 1);
  if (write(settings.Descriptor(), kSetting, sizeof kSetting - 1) != length) return;
  xine_config_load(xine, settings.ReadPath().c_str());
}

// After libxine's end of stream the audio output still has buffers queued and
// the sound server holds what it was given. Wait at most this long for them
// (time spent paused does not count).
constexpr auto kMaxDrainTime = std::chrono::seconds(3);
// How often the queued buffers are looked at meanwhile.
constexpr auto kDrainCheck = std::chrono::milliseconds(20);

}  // namespace

struct XineMediaEngine::Engine {
  XinePtr xine;
  std::unique_ptr<AudioPort> audio;
};

class XineMediaEngine::Song {
 public:
  // `ended` is called on libxine's listener thread once the song has played
  // out by itself.
  Song(xine_t* xine, xine_audio_port_t* audio, std::function<void()> ended)
      : audio_(audio), ended_(std::move(ended)) {
    stream_.reset(xine_stream_new(xine, audio, nullptr));
    if (!stream_) return;
    queue_.reset(xine_event_new_queue(stream_.get()));
    if (queue_) xine_event_create_listener_thread(queue_.get(), &Song::OnEvent, this);
  }
  ~Song() {
    // The listener must be gone before the stream and this object (a play-out
    // wait in progress gives up at once); the decoder stops before the stream
    // that reads what it writes.
    {
      std::lock_guard<std::mutex> lock(mutex_);
      leaving_ = true;
    }
    leave_.notify_all();
    queue_.reset();
    if (decoded_) decoded_->Pause();
    stream_.reset();
  }
  Song(const Song&) = delete;
  Song& operator=(const Song&) = delete;

  bool Open(const std::string& path) {
    if (!stream_) return false;
    source_.Reset(OpenRegularFile(path));
    if (source_.get() < 0) return false;
    std::string file;
    if (MpcDecoder::IsMusepackFile(source_.get(), path)) {
      decoded_ = std::make_unique<MpcWavStream>();
      if (!decoded_->Start(source_.get())) return false;
      file = decoded_->ReadPath();
    } else {
      file = PlayablePath();
    }
    opened_ = xine_open(stream_.get(), ("file://" + file).c_str()) != 0 && HasPlayableAudio();
    if (opened_ && decoded_) decoded_->Resume();
    return opened_;
  }

  // Starts the opened song from its beginning, also again after its end or
  // a stop.
  void Play() {
    if (!opened_) return;
    {
      // A play-out wait of the earlier start gives up unreported.
      std::lock_guard<std::mutex> lock(mutex_);
      ++plays_;
    }
    leave_.notify_all();
    finished_ = false;
    playedOut_ = false;
    stopped_ = false;
    stopSeen_ = false;
    if (decoded_) decoded_->Resume();
    xine_set_param(stream_.get(), XINE_PARAM_SPEED, XINE_SPEED_NORMAL);
    started_ = xine_play(stream_.get(), 0, 0) != 0;
  }

  int Status() {
    if (!started_ || stopped_ || playedOut_) return 0;
    if (!finished_ && xine_get_status(stream_.get()) != XINE_STATUS_PLAY && StoppedForGood()) {
      return 0;
    }
    // Playing, or at its end with the output still sounding what it holds.
    return Paused() ? -1 : 1;
  }

  int LengthMs() {
    int position = 0;
    int time = 0;
    int length = 0;
    if (!opened_ || xine_get_pos_length(stream_.get(), &position, &time, &length) == 0) return 0;
    return length > 0 ? length : 0;
  }

  void SetSpeed(int speed) {
    if (opened_) xine_set_param(stream_.get(), XINE_PARAM_SPEED, speed);
  }

  void Stop() {
    if (!opened_) return;
    stopped_ = true;
    xine_stop(stream_.get());
    if (decoded_) decoded_->Pause();
  }

 private:
  static void OnEvent(void* self, const xine_event_t* event) {
    if (event->type == XINE_EVENT_UI_PLAYBACK_FINISHED) static_cast<Song*>(self)->PlayOut();
  }

  bool Paused() { return xine_get_param(stream_.get(), XINE_PARAM_SPEED) == XINE_SPEED_PAUSE; }

  // Listener thread, after libxine's end of stream: waits until the port has
  // no queued buffers left and the sound server has had time to play what
  // the driver reported as held, then reports the end. Time spent paused
  // does not count, as the output holds its sound meanwhile.
  void PlayOut() {
    finished_ = true;
    auto budget = std::chrono::duration_cast<Clock::duration>(kMaxDrainTime);
    Clock::duration held{};
    bool queueEmpty = false;
    std::unique_lock<std::mutex> lock(mutex_);
    const unsigned play = plays_;
    const auto superseded = [this, play] { return leaving_ || plays_ != play; };
    while (!queueEmpty || held > Clock::duration::zero()) {
      const Clock::duration step = queueEmpty ? std::min(held, budget) : kDrainCheck;
      if (leave_.wait_for(lock, step, superseded)) return;
      if (Paused()) continue;
      budget -= step;
      if (budget <= Clock::duration::zero()) break;
      if (queueEmpty) {
        held -= step;
      } else if (!OutputQueued()) {
        queueEmpty = true;
        held = DriverHeld();
      }
    }
    playedOut_ = true;
    lock.unlock();
    if (ended_) ended_();
  }

  bool OutputQueued() {
    return audio_ != nullptr && (audio_->get_property(audio_, AO_PROP_BUFS_IN_FIFO) > 0 ||
                                 audio_->get_property(audio_, AO_PROP_PTS_IN_FIFO) > 0);
  }

  // What the sound server still holds, as the driver reports it.
  Clock::duration DriverHeld() {
    if (audio_ == nullptr) return {};
    const int frames = std::max(0, audio_->get_property(audio_, AO_PROP_DRIVER_DELAY));
    int rate = xine_get_stream_info(stream_.get(), XINE_STREAM_INFO_AUDIO_SAMPLERATE);
    if (rate <= 0) rate = 44100;
    return std::chrono::microseconds(int64_t{frames} * 1000000 / rate);
  }

  // libxine leaves the play state without its finished event only when it is
  // told to stop, which Stop records; should it ever do so on its own, the
  // song counts as ended once the longest play-out has passed. (This is seen
  // only when Status is asked again: the end listener is not told.)
  bool StoppedForGood() {
    const auto now = Clock::now();
    if (!stopSeen_) {
      stopSeen_ = true;
      stopSeenAt_ = now;
    }
    return now - stopSeenAt_ > kMaxDrainTime;
  }

  // libxine's MPEG audio demuxer accepts nearly any bytes (a text file named
  // .mp3 opens as "Layer 0"); only a stream whose header gave a sample rate
  // and whose audio a decoder takes is a song.
  bool HasPlayableAudio() {
    return xine_get_stream_info(stream_.get(), XINE_STREAM_INFO_HAS_AUDIO) != 0 &&
           xine_get_stream_info(stream_.get(), XINE_STREAM_INFO_AUDIO_HANDLED) != 0 &&
           xine_get_stream_info(stream_.get(), XINE_STREAM_INFO_AUDIO_SAMPLERATE) > 0;
  }

  // What libxine is to open for the regular file open as source_: the file
  // itself, or a copy of one that looks as if it were still being written.
  std::string PlayablePath() {
    struct stat info {};
    if (fstat(source_.get(), &info) == 0 && LooksBeingWritten(info) &&
        info.st_size <= kMaxCopySize && copy_.Create()) {
      if (copy_.CopyFrom(source_.get()) && copy_.DateBack()) return copy_.ReadPath();
      copy_.Close();
    }
    return DescriptorPath(source_.get());
  }

  xine_audio_port_t* audio_;
  const std::function<void()> ended_;
  StreamPtr stream_;
  EventQueuePtr queue_;
  FileDescriptor source_;
  std::unique_ptr<MpcWavStream> decoded_;
  TemporaryFile copy_;
  bool opened_ = false;
  bool started_ = false;
  bool stopped_ = false;
  bool stopSeen_ = false;
  Clock::time_point stopSeenAt_;
  // Written by the listener thread.
  std::atomic<bool> finished_{false};
  std::atomic<bool> playedOut_{false};
  std::mutex mutex_;
  std::condition_variable leave_;
  // Guarded by mutex_: the song object is going, and how often it was started.
  bool leaving_ = false;
  unsigned plays_ = 0;
};

XineMediaEngine::XineMediaEngine() = default;

XineMediaEngine::~XineMediaEngine() { Shutdown(); }

void XineMediaEngine::Initialise() { EnsureInitialised(); }

bool XineMediaEngine::EnsureInitialised() {
  if (engine_) return true;
  XinePtr xine(xine_new());
  if (!xine) return false;
  ChooseLibraryMemoryCopy(xine.get());
  xine_init(xine.get());
  engine_ = std::make_unique<Engine>();
  engine_->xine = std::move(xine);
  return true;
}

bool XineMediaEngine::IsLoaded() const { return song_ != nullptr; }

void XineMediaEngine::Release() {
  if (!song_) return;
  song_->Stop();
  song_.reset();
}

bool XineMediaEngine::Load(const std::string& path) {
  Release();
  if (!EnsureInitialised()) return false;
  // A fresh audio port for every song: a port kept from the previous song
  // drops part of the next one (a gap early on and its last fraction of a
  // second at the sound server), whereas a new port plays it whole.
  engine_->audio.reset();
  if (xine_audio_port_t* port = xine_open_audio_driver(engine_->xine.get(), nullptr, nullptr)) {
    engine_->audio = std::make_unique<AudioPort>(engine_->xine.get(), port);
  }
  xine_audio_port_t* port = engine_->audio ? engine_->audio->get() : nullptr;
  song_ = std::make_unique<Song>(engine_->xine.get(), port, endListener_);
  return song_->Open(path);
}

void XineMediaEngine::SetVideoArea(int x, int y, int width, int height) {
  videoArea_ = VideoArea{x, y, width, height};
}

void XineMediaEngine::Play(GtkWidget* /*parentWindow: no video window is made*/) {
  if (song_) song_->Play();
}

int XineMediaEngine::Status() { return song_ ? song_->Status() : 0; }
int XineMediaEngine::LengthMs() { return song_ ? song_->LengthMs() : 0; }

void XineMediaEngine::SetEndListener(std::function<void()> ended) {
  endListener_ = std::move(ended);
}

void XineMediaEngine::Pause() {
  if (song_) song_->SetSpeed(XINE_SPEED_PAUSE);
}

void XineMediaEngine::Resume() {
  if (song_ && song_->Status() == -1) song_->SetSpeed(XINE_SPEED_NORMAL);
}

void XineMediaEngine::Stop() {
  if (song_) song_->Stop();
}

void XineMediaEngine::Shutdown() {
  Release();
  if (!engine_) return;
  engine_->audio.reset();
  engine_.reset();
}

}  // namespace orvo

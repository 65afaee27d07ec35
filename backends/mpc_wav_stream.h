#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "backends/mpc_decoder.h"
#include "base/temporary_file.h"

namespace orvo {

// A Musepack file decoded into a nameless temporary WAV file that the player
// reads while a decoder thread writes it. The header announces the stream's
// whole length, so that the reader plays to the end even where it started
// before the rest was written; the writer stays ahead because decoding is a
// few hundred times faster than playing. However long the song, the first
// sound waits only for its first seconds, and the file needs no removal.
//
// All calls come from one thread. While the decoder thread runs it alone
// touches the decoder and the file; Pause joins it before anything else may.
class MpcWavStream {
 public:
  MpcWavStream() = default;
  // Stops the decoder thread.
  ~MpcWavStream();
  MpcWavStream(const MpcWavStream&) = delete;
  MpcWavStream& operator=(const MpcWavStream&) = delete;

  // Writes the WAV header and the first seconds of the Musepack file open as
  // `mpcFd` (read with pread; it must stay open while this object lives).
  // False when the stream cannot be decoded or yields no sound.
  bool Start(int mpcFd);
  // Opens the WAV file anew for reading ("/proc/self/fd/N").
  std::string ReadPath() const { return wav_.ReadPath(); }
  // Lets the decoder thread write the rest, from where it stopped.
  void Resume();
  // Stops and joins the decoder thread.
  void Pause();

 private:
  // Decodes and appends one piece; false once nothing more comes.
  bool WriteNextPiece();
  void Run();
  void Finish();

  MpcDecoder decoder_;
  TemporaryFile wav_;
  std::vector<uint8_t> pcm_;
  uint64_t announced_ = 0;  // frames claimed by the header
  uint64_t written_ = 0;    // frames in the file
  bool finished_ = false;
  std::atomic<bool> stopRequested_{false};
  std::thread thread_;
};

}  // namespace orvo

#include "backends/mpc_wav_stream.h"


#include <cerrno>
#include <cstdint>
#include <system_error>
#include <unistd.h>

#include "base/write_all.h"

namespace orvo {
namespace {

// Written before the player opens the file: enough for libxine to recognise
// it and to fill its buffers at the start without catching up with the
// writer. Decoding it takes a few milliseconds.
constexpr uint32_t kLeadSeconds = 3;
// What the decoder thread writes at a time; a stop request waits at most for
// one piece.
constexpr uint32_t kPiecesPerSecond = 4;

}  // namespace

MpcWavStream::~MpcWavStream() { Pause(); }

bool MpcWavStream::Start(int mpcFd) {
  if (!decoder_.Open(mpcFd) || !wav_.Create()) return false;
  // A stream that announces no length claims as much as a WAV file holds;
  // its end is then where the file ends.
  announced_ = decoder_.AnnouncedFrames();
  if (announced_ == 0) announced_ = UINT64_MAX;
  std::vector<uint8_t> header =
      MpcDecoder::WavHeader(decoder_.SampleRate(), decoder_.Channels(), announced_);
  if (!WriteAll(wav_.Descriptor(), header.data(), header.size())) return false;
  while (written_ < uint64_t{kLeadSeconds} * decoder_.SampleRate() && WriteNextPiece()) {
  }
  if (written_ == 0) wav_.Close();
  return written_ > 0;
}

void MpcWavStream::Resume() {
  if (finished_ || thread_.joinable() || !wav_.IsOpen()) return;
  stopRequested_ = false;
  try {
    thread_ = std::thread(&MpcWavStream::Run, this);
  } catch (const std::system_error&) {
    Run();  // no thread to be had: the rest is written now
  }
}

void MpcWavStream::Pause() {
  if (!thread_.joinable()) return;
  stopRequested_ = true;
  thread_.join();
}

void MpcWavStream::Run() {
  while (!stopRequested_ && WriteNextPiece()) {
  }
}

bool MpcWavStream::WriteNextPiece() {
  if (finished_) return false;
  pcm_.clear();
  size_t frames = decoder_.Decode(decoder_.SampleRate() / kPiecesPerSecond, pcm_);
  if (frames == 0 || !WriteAll(wav_.Descriptor(), pcm_.data(), pcm_.size())) {
    Finish();
    return false;
  }
  written_ += frames;
  if (written_ >= announced_) Finish();
  return !finished_;
}

void MpcWavStream::Finish() {
  finished_ = true;
  // A damaged stream, or one that announced another length, ends where its
  // sound ends: a reader opening the file from now on sees the real length.
  // One that opened it before meets the end of the file first, which ends
  // the song all the same, as it does where the header cannot be rewritten.
  if (written_ == announced_ || written_ == 0) return;
  std::vector<uint8_t> header =
      MpcDecoder::WavHeader(decoder_.SampleRate(), decoder_.Channels(), written_);
  ssize_t rewritten = pwrite(wav_.Descriptor(), header.data(), header.size(), 0);
  static_cast<void>(rewritten);
}

}  // namespace orvo

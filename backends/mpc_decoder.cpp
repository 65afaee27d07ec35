#include "backends/mpc_decoder.h"

#include <mpc/mpcdec.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "base/file_name.h"
#include "base/write_all.h"
#include "mediainfo/id3v2_tag.h"

namespace orvo {
namespace {

constexpr size_t kId3HeaderSize = 10;

// Size of a leading ID3v2 tag that the bytes hold whole, 0 without one.
size_t Id3v2Size(const uint8_t* data, size_t size) {
  const size_t total = Id3v2TagSize(data, size);
  return total <= size ? total : 0;
}

ssize_t ReadAt(int fd, void* out, size_t size, off_t offset) {
  ssize_t n;
  do {
    n = pread(fd, out, size, offset);
  } while (n < 0 && errno == EINTR);
  return n;
}

// Where the Musepack stream header of the file open as `fd` starts, behind
// an ID3v2 tag of any length; -1 when it holds none.
off_t StreamOffset(int fd) {
  uint8_t head[kId3HeaderSize];
  ssize_t n = ReadAt(fd, head, sizeof head, 0);
  off_t offset = n > 0 ? static_cast<off_t>(Id3v2TagSize(head, static_cast<size_t>(n))) : 0;
  n = ReadAt(fd, head, 4, offset);
  return n > 0 && MpcDecoder::StreamVersion(head, static_cast<size_t>(n)) != 0 ? offset : -1;
}

// Where libmpcdec reads from: bytes held in memory, or a file read with
// pread. Positions count from the stream header, behind any ID3v2 tag.
struct Source {
  const uint8_t* data = nullptr;
  int fd = -1;
  off_t base = 0;
  mpc_int32_t size = 0;
  mpc_int32_t position = 0;
};

mpc_int32_t ReadSource(mpc_reader* reader, void* out, mpc_int32_t count) {
  auto* source = static_cast<Source*>(reader->data);
  if (count <= 0) return 0;
  mpc_int32_t n = std::min(count, source->size - source->position);
  if (n <= 0) return 0;
  if (source->data != nullptr) {
    std::memcpy(out, source->data + source->position, static_cast<size_t>(n));
  } else {
    ssize_t got = ReadAt(source->fd, out, static_cast<size_t>(n), source->base + source->position);
    n = got > 0 ? static_cast<mpc_int32_t>(got) : 0;  // a file that shrank ends early
  }
  source->position += n;
  return n;
}

mpc_bool_t SeekSource(mpc_reader* reader, mpc_int32_t offset) {
  auto* source = static_cast<Source*>(reader->data);
  if (offset < 0 || offset > source->size) return MPC_FALSE;
  source->position = offset;
  return MPC_TRUE;
}

mpc_int32_t TellSource(mpc_reader* reader) { return static_cast<Source*>(reader->data)->position; }

mpc_int32_t SizeOfSource(mpc_reader* reader) { return static_cast<Source*>(reader->data)->size; }

mpc_bool_t SourceCanSeek(mpc_reader*) { return MPC_TRUE; }

void PutLe16(std::vector<uint8_t>& out, size_t at, uint32_t value) {
  out[at] = static_cast<uint8_t>(value);
  out[at + 1] = static_cast<uint8_t>(value >> 8);
}

void PutLe32(std::vector<uint8_t>& out, size_t at, uint32_t value) {
  PutLe16(out, at, value & 0xffff);
  PutLe16(out, at + 2, value >> 16);
}

// Writes one sample as little-endian 16-bit PCM at `out`, rounded and clipped.
inline void PutPcm16(uint8_t* out, MPC_SAMPLE_FORMAT sample) {
  float scaled = sample * 32768.0f;
  int value;
  if (!(scaled > -32768.0f)) {
    value = -32768;  // also catches NaN
  } else if (scaled >= 32767.0f) {
    value = 32767;
  } else {
    value = static_cast<int>(scaled + (scaled >= 0.0f ? 0.5f : -0.5f));
  }
  auto bits = static_cast<uint16_t>(value);
  out[0] = static_cast<uint8_t>(bits);
  out[1] = static_cast<uint8_t>(bits >> 8);
}

// RIFF sizes are 32 bits: frames beyond this do not fit a WAV file.
uint64_t MaxWavFrames(uint32_t channels) { return (UINT32_MAX - 36) / (2 * channels); }

}  // namespace

struct MpcDecoder::Stream {
  ~Stream() {
    if (demux != nullptr) mpc_demux_exit(demux);
  }
  Source source;
  mpc_reader reader{};
  mpc_demux* demux = nullptr;
  mpc_streaminfo info{};
  uint64_t decoded = 0;  // frames
  bool ended = false;
  std::vector<MPC_SAMPLE_FORMAT> samples = std::vector<MPC_SAMPLE_FORMAT>(MPC_DECODER_BUFFER_LENGTH);
};

MpcDecoder::MpcDecoder() = default;
MpcDecoder::~MpcDecoder() = default;

int MpcDecoder::StreamVersion(const uint8_t* data, size_t size) {
  size_t offset = Id3v2Size(data, size);
  data += offset;
  size -= offset;
  if (size >= 4 && std::memcmp(data, "MPCK", 4) == 0) return 8;
  // SV7 keeps its version in the low nibble of the fourth byte.
  if (size >= 4 && std::memcmp(data, "MP+", 3) == 0 && (data[3] & 0x0f) == 7) return 7;
  return 0;
}

bool MpcDecoder::IsMusepackFile(int fd, const std::string& path) {
  const std::string ext = LowerExtension(path);
  return ext == "mpc" || ext == "mp+" || ext == "mpp" || StreamOffset(fd) >= 0;
}

std::vector<uint8_t> MpcDecoder::WavHeader(uint32_t sampleRate, uint32_t channels,
                                           uint64_t frames) {
  std::vector<uint8_t> h(44, 0);
  const uint32_t blockAlign = channels * 2;
  uint64_t dataBytes = frames * blockAlign;
  // A longer stream claims the largest size.
  uint32_t dataSize = static_cast<uint32_t>(std::min<uint64_t>(dataBytes, UINT32_MAX - 36));
  std::memcpy(&h[0], "RIFF", 4);
  PutLe32(h, 4, 36 + dataSize);
  std::memcpy(&h[8], "WAVEfmt ", 8);
  PutLe32(h, 16, 16);
  PutLe16(h, 20, 1);  // integer PCM
  PutLe16(h, 22, channels);
  PutLe32(h, 24, sampleRate);
  PutLe32(h, 28, sampleRate * blockAlign);
  PutLe16(h, 32, blockAlign);
  PutLe16(h, 34, 16);
  std::memcpy(&h[36], "data", 4);
  PutLe32(h, 40, dataSize);
  return h;
}

bool MpcDecoder::Open(const uint8_t* data, size_t size) {
  size_t offset = Id3v2Size(data, size);
  if (StreamVersion(data, size) == 0 || size - offset > static_cast<size_t>(INT32_MAX)) {
    return false;
  }
  stream_ = std::make_unique<Stream>();
  stream_->source.data = data + offset;
  stream_->source.size = static_cast<mpc_int32_t>(size - offset);
  return Start();
}

bool MpcDecoder::Open(int fd) {
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return false;
  off_t offset = StreamOffset(fd);
  if (offset < 0 || offset > info.st_size || info.st_size - offset > INT32_MAX) return false;
  stream_ = std::make_unique<Stream>();
  stream_->source.fd = fd;
  stream_->source.base = offset;
  stream_->source.size = static_cast<mpc_int32_t>(info.st_size - offset);
  return Start();
}

bool MpcDecoder::Start() {
  Stream& s = *stream_;
  s.reader.read = ReadSource;
  s.reader.seek = SeekSource;
  s.reader.tell = TellSource;
  s.reader.get_size = SizeOfSource;
  s.reader.canseek = SourceCanSeek;
  s.reader.data = &s.source;
  s.demux = mpc_demux_init(&s.reader);
  if (s.demux != nullptr) mpc_demux_get_info(s.demux, &s.info);
  // libmpcdec synthesises at most two channels into its frame buffer.
  if (s.demux == nullptr || s.info.channels < 1 || s.info.channels > 2 ||
      s.info.sample_freq < 8000 || s.info.sample_freq > 192000) {
    stream_.reset();
    return false;
  }
  return true;
}

uint32_t MpcDecoder::SampleRate() const { return stream_ ? stream_->info.sample_freq : 0; }

uint32_t MpcDecoder::Channels() const { return stream_ ? stream_->info.channels : 0; }

uint64_t MpcDecoder::AnnouncedFrames() const {
  if (!stream_) return 0;
  return std::min<uint64_t>(stream_->info.samples, MaxWavFrames(stream_->info.channels));
}

size_t MpcDecoder::Decode(size_t frames, std::vector<uint8_t>& pcm) {
  if (!stream_) return 0;
  Stream& s = *stream_;
  // A few bytes can describe hours of silence; stop where a WAV file ends.
  const uint64_t maxFrames = MaxWavFrames(s.info.channels);
  size_t added = 0;
  while (added < frames && !s.ended && s.decoded < maxFrames) {
    mpc_frame_info frame{};
    frame.buffer = s.samples.data();
    size_t count = 0;
    if (mpc_demux_decode(s.demux, &frame) == MPC_STATUS_OK && frame.bits != -1) {
      count = size_t{frame.samples} * s.info.channels;
    }
    // Damage ends the song where it starts: what came before stays.
    if (count == 0 || count > s.samples.size()) {
      s.ended = true;
      break;
    }
    size_t take = static_cast<size_t>(std::min<uint64_t>(frame.samples, maxFrames - s.decoded));
    size_t used = pcm.size();
    pcm.resize(used + 2 * take * s.info.channels);
    for (size_t i = 0; i < take * s.info.channels; ++i) PutPcm16(&pcm[used + 2 * i], s.samples[i]);
    s.decoded += take;
    added += take;
  }
  return added;
}

bool MpcDecoder::DecodeToWav(const uint8_t* data, size_t size, int fd) {
  MpcDecoder decoder;
  if (!decoder.Open(data, size)) return false;
  // Room for the header now; it is written with the real length at the end.
  std::vector<uint8_t> header = WavHeader(decoder.SampleRate(), decoder.Channels(), 0);
  if (lseek(fd, 0, SEEK_SET) != 0 || !WriteAll(fd, header.data(), header.size())) return false;
  // Converted frames collect here and go to the file in large writes.
  std::vector<uint8_t> pcm;
  uint64_t frames = 0;
  while (size_t added = decoder.Decode(65536, pcm)) {
    frames += added;
    if (!WriteAll(fd, pcm.data(), pcm.size())) return false;
    pcm.clear();
  }
  if (frames == 0) return false;
  header = WavHeader(decoder.SampleRate(), decoder.Channels(), frames);
  return pwrite(fd, header.data(), header.size(), 0) == static_cast<ssize_t>(header.size());
}

}  // namespace orvo

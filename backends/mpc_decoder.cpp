#include "backends/mpc_decoder.h"

#include <mpc/mpcdec.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include "base/file_name.h"
#include "base/temporary_file.h"
#include "mediainfo/id3v2_tag.h"

namespace orvo {
namespace {

// Musepack files are a few megabytes; a bound keeps a huge file named .mpc
// from being read into memory.
constexpr size_t kMaxFileSize = 1u << 30;
constexpr size_t kId3HeaderSize = 10;

// libmpcdec reads through callbacks; this one serves bytes held in memory.
struct MemorySource {
  const uint8_t* data;
  mpc_int32_t size;
  mpc_int32_t position;
};

mpc_int32_t ReadMemory(mpc_reader* reader, void* out, mpc_int32_t count) {
  auto* source = static_cast<MemorySource*>(reader->data);
  if (count <= 0) return 0;
  mpc_int32_t available = source->size - source->position;
  mpc_int32_t n = std::min(count, available);
  std::memcpy(out, source->data + source->position, static_cast<size_t>(n));
  source->position += n;
  return n;
}

mpc_bool_t SeekMemory(mpc_reader* reader, mpc_int32_t offset) {
  auto* source = static_cast<MemorySource*>(reader->data);
  if (offset < 0 || offset > source->size) return MPC_FALSE;
  source->position = offset;
  return MPC_TRUE;
}

mpc_int32_t TellMemory(mpc_reader* reader) {
  return static_cast<MemorySource*>(reader->data)->position;
}

mpc_int32_t SizeOfMemory(mpc_reader* reader) {
  return static_cast<MemorySource*>(reader->data)->size;
}

mpc_bool_t MemoryCanSeek(mpc_reader*) { return MPC_TRUE; }

struct DemuxDeleter {
  void operator()(mpc_demux* demux) const noexcept { mpc_demux_exit(demux); }
};
using DemuxPtr = std::unique_ptr<mpc_demux, DemuxDeleter>;

void PutLe16(std::vector<uint8_t>& out, size_t at, uint32_t value) {
  out[at] = static_cast<uint8_t>(value);
  out[at + 1] = static_cast<uint8_t>(value >> 8);
}

void PutLe32(std::vector<uint8_t>& out, size_t at, uint32_t value) {
  PutLe16(out, at, value & 0xffff);
  PutLe16(out, at + 2, value >> 16);
}

bool WriteAll(int fd, const void* data, size_t size) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  while (size > 0) {
    ssize_t n = write(fd, bytes, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes += n;
    size -= static_cast<size_t>(n);
  }
  return true;
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

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& out) {
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
            static_cast<uint64_t>(info.st_size) <= kMaxFileSize;
  if (ok) {
    out.resize(static_cast<size_t>(info.st_size));
    size_t done = 0;
    while (done < out.size()) {
      ssize_t n = read(fd, out.data() + done, out.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      done += static_cast<size_t>(n);
    }
    out.resize(done);  // a file that shrank while being read decodes as far as it goes
  }
  close(fd);
  return ok;
}

}  // namespace

int MpcDecoder::StreamVersion(const uint8_t* data, size_t size) {
  size_t offset = Id3v2TagSize(data, size);
  data += offset;
  size -= offset;
  if (size >= 4 && std::memcmp(data, "MPCK", 4) == 0) return 8;
  // SV7 keeps its version in the low nibble of the fourth byte.
  if (size >= 4 && std::memcmp(data, "MP+", 3) == 0 && (data[3] & 0x0f) == 7) return 7;
  return 0;
}

bool MpcDecoder::IsMusepackFile(const std::string& path) {
  const std::string ext = LowerExtension(path);
  if (ext == "mpc" || ext == "mp+" || ext == "mpp") return true;
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  // Enough for a tag of a few kilobytes in front of the stream header.
  uint8_t head[16384];
  ssize_t n = read(fd, head, sizeof head);
  close(fd);
  if (n <= 0) return false;
  size_t size = static_cast<size_t>(n);
  if (Id3v2TagSize(head, size) == 0 && size >= kId3HeaderSize && std::memcmp(head, "ID3", 3) == 0) {
    return false;  // a tag longer than what was read: some other kind of file
  }
  return StreamVersion(head, size) != 0;
}

std::vector<uint8_t> MpcDecoder::WavHeader(uint32_t sampleRate, uint32_t channels,
                                           uint64_t frames) {
  std::vector<uint8_t> h(44, 0);
  const uint32_t blockAlign = channels * 2;
  uint64_t dataBytes = frames * blockAlign;
  // RIFF sizes are 32 bits; a longer stream claims the largest size.
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

bool MpcDecoder::DecodeToWav(const uint8_t* data, size_t size, int fd) {
  size_t offset = Id3v2TagSize(data, size);
  if (StreamVersion(data, size) == 0 || size - offset > static_cast<size_t>(INT32_MAX)) {
    return false;
  }
  MemorySource source{data + offset, static_cast<mpc_int32_t>(size - offset), 0};
  mpc_reader reader{};
  reader.read = ReadMemory;
  reader.seek = SeekMemory;
  reader.tell = TellMemory;
  reader.get_size = SizeOfMemory;
  reader.canseek = MemoryCanSeek;
  reader.data = &source;

  DemuxPtr demux(mpc_demux_init(&reader));
  if (!demux) return false;
  mpc_streaminfo info{};
  mpc_demux_get_info(demux.get(), &info);
  // libmpcdec synthesises at most two channels into its frame buffer.
  if (info.channels < 1 || info.channels > 2 || info.sample_freq < 8000 ||
      info.sample_freq > 192000) {
    return false;
  }
  // Room for the header now; it is written with the real length at the end.
  std::vector<uint8_t> header = WavHeader(info.sample_freq, info.channels, 0);
  if (lseek(fd, 0, SEEK_SET) != 0 || !WriteAll(fd, header.data(), header.size())) return false;

  std::vector<MPC_SAMPLE_FORMAT> samples(MPC_DECODER_BUFFER_LENGTH);
  // Converted frames collect here and go to the file in large writes.
  std::vector<uint8_t> pcm(1u << 18);
  size_t used = 0;
  uint64_t frames = 0;
  // A few bytes can describe hours of silence; stop where a WAV file ends.
  const uint64_t maxFrames = (UINT32_MAX - 36) / (2 * info.channels);
  while (frames < maxFrames) {
    mpc_frame_info frame{};
    frame.buffer = samples.data();
    if (mpc_demux_decode(demux.get(), &frame) != MPC_STATUS_OK) break;  // damaged: keep what came
    if (frame.bits == -1) break;
    size_t count = size_t{frame.samples} * info.channels;
    if (count > samples.size()) return false;
    if (used + 2 * count > pcm.size()) {
      if (!WriteAll(fd, pcm.data(), used)) return false;
      used = 0;
    }
    for (size_t i = 0; i < count; ++i) PutPcm16(&pcm[used + 2 * i], samples[i]);
    used += 2 * count;
    frames += frame.samples;
  }
  if (!WriteAll(fd, pcm.data(), used)) return false;
  if (frames == 0) return false;
  frames = std::min(frames, maxFrames);
  header = WavHeader(info.sample_freq, info.channels, frames);
  return pwrite(fd, header.data(), header.size(), 0) == static_cast<ssize_t>(header.size());
}

// libxine's file input takes a file changed in the last few seconds for one
// still being written: at its end it waits for more data, and a demuxer that
// reads ahead meets that wait mid-song, which drops sound. The decoded file is
// complete, so it is dated a day back.
bool DateBack(int fd) {
  struct timespec times[2];
  clock_gettime(CLOCK_REALTIME, &times[0]);
  times[0].tv_sec -= 24 * 60 * 60;
  times[1] = times[0];
  return futimens(fd, times) == 0;
}

bool MpcDecoder::DecodeFileToTemporaryWav(const std::string& mpcPath, TemporaryFile& wav) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(mpcPath, bytes) || !wav.Create(".wav")) return false;
  bool ok = DecodeToWav(bytes.data(), bytes.size(), wav.Descriptor()) &&
            DateBack(wav.Descriptor()) && wav.Close();
  if (!ok) wav.Remove();
  return ok;
}

}  // namespace orvo

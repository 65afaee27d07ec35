#include "backends/mpc_decoder.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "base/temporary_file.h"
#include "tests/backends/sv7_tone.h"
#include "tests/backends/test_media.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/signal_analysis.h"

namespace orvo {
namespace {

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

std::vector<uint8_t> ReadFile(const std::string& path) { return Bytes(test::ReadBytes(path)); }

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (uint32_t{b[at + 3]} << 24);
}

// A decoded WAV file: its format fields and the left channel.
struct Decoded {
  bool ok = false;
  uint32_t rate = 0;
  uint32_t channels = 0;
  uint32_t frames = 0;
  std::vector<float> left;
};

Decoded Decode(const std::vector<uint8_t>& mpc) {
  Decoded result;
  TemporaryFile wav;
  if (!wav.Create()) return result;
  result.ok = MpcDecoder::DecodeToWav(mpc.data(), mpc.size(), wav.Descriptor());
  if (!result.ok) return result;
  std::vector<uint8_t> bytes = ReadFile(wav.ReadPath());
  if (bytes.size() < 44) return result;
  result.channels = bytes[22] | (bytes[23] << 8);
  result.rate = Le32(bytes, 24);
  uint32_t dataSize = Le32(bytes, 40);
  EXPECT_EQ(dataSize, bytes.size() - 44) << "header length matches the data";
  EXPECT_EQ(Le32(bytes, 4), bytes.size() - 8);
  if (result.channels == 0) return result;
  result.frames = dataSize / (2 * result.channels);
  for (size_t i = 44; i + 1 < bytes.size(); i += 2 * result.channels) {
    result.left.push_back(static_cast<int16_t>(bytes[i] | (bytes[i + 1] << 8)) / 32768.0f);
  }
  return result;
}

// The length a streamed WAV header announces before decoding.
uint64_t AnnouncedFrames(const std::vector<uint8_t>& mpc) {
  MpcDecoder decoder;
  return decoder.Open(mpc.data(), mpc.size()) ? decoder.AnnouncedFrames() : 0;
}

bool IsMusepack(const std::string& path) {
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  bool result = fd >= 0 && MpcDecoder::IsMusepackFile(fd, path);
  if (fd >= 0) close(fd);
  return result;
}

TEST(MpcDecoderTest, StreamVersion_Headers_RecognisesSv7AndSv8Only) {
  struct Case {
    std::string bytes;
    int version;
  } cases[] = {
      {"MPCK\x10SH", 8},
      {std::string("MP+\x07\x00\x00", 6), 7},
      {std::string("MP+\x17\x00\x00", 6), 7},  // SV7.1: the high nibble is a minor version
      {"MP+\x06" "abcd", 0},                   // SV6 and older are not decoded
      {"MPC", 0},
      {"", 0},
      {"RIFF....WAVE", 0},
      // An ID3v2 tag of 5 bytes in front of the stream header.
      {std::string("ID3\x04\x00\x00\x00\x00\x00\x05", 10) + "12345MPCK", 8},
      // A tag claiming more bytes than there are.
      {std::string("ID3\x04\x00\x00\x00\x00\x7f\x7f", 10) + "MPCK", 0},
      // Sizes must be synchsafe.
      {std::string("ID3\x04\x00\x00\x00\x00\x00\x85", 10) + "MPCK", 0},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> bytes = Bytes(c.bytes);
    EXPECT_EQ(MpcDecoder::StreamVersion(bytes.data(), bytes.size()), c.version) << c.bytes;
  }
}

TEST(MpcDecoderTest, WavHeader_StereoSong_MatchesPcmWavLayout) {
  const uint8_t expected[44] = {'R', 'I', 'F', 'F', 0xc4, 0x0f, 0, 0, 'W', 'A', 'V', 'E',
                                'f', 'm', 't', ' ', 16, 0, 0, 0, 1, 0, 2, 0,
                                0x44, 0xac, 0, 0, 0x10, 0xb1, 0x02, 0, 4, 0, 16, 0,
                                'd', 'a', 't', 'a', 0xa0, 0x0f, 0, 0};
  std::vector<uint8_t> header = MpcDecoder::WavHeader(44100, 2, 1000);
  ASSERT_EQ(header.size(), 44u);
  EXPECT_EQ(std::memcmp(header.data(), expected, 44), 0);
}

TEST(MpcDecoderTest, DecodeToWav_Sv8Tone_KeepsToneLevelAndLength) {
  test::TestMedia media;
  std::string path = media.Make("tone", "mpc", 784, 3.0);
  ASSERT_FALSE(path.empty());
  std::vector<uint8_t> mpc = ReadFile(path);
  ASSERT_EQ(MpcDecoder::StreamVersion(mpc.data(), mpc.size()), 8);

  Decoded decoded = Decode(mpc);
  ASSERT_TRUE(decoded.ok);
  EXPECT_EQ(decoded.rate, 44100u);
  EXPECT_EQ(decoded.channels, 2u);
  EXPECT_NEAR(decoded.frames, 3 * 44100, 1152) << "no frame lost or added at either end";
  EXPECT_EQ(AnnouncedFrames(mpc), decoded.frames);
  EXPECT_NEAR(test::SignalAnalysis::ToneFrequency(decoded.left, 44100), 784, 784 * 0.01);
  EXPECT_NEAR(test::SignalAnalysis::SoundingRms(decoded.left, 44100), 0.354, 0.03);

  // The same stream behind an ID3v2 tag decodes the same.
  std::vector<uint8_t> tagged = Bytes(std::string("ID3\x03\x00\x00\x00\x00\x00\x08", 10) + "TAGBYTES");
  tagged.insert(tagged.end(), mpc.begin(), mpc.end());
  Decoded fromTagged = Decode(tagged);
  EXPECT_TRUE(fromTagged.ok);
  EXPECT_EQ(fromTagged.frames, decoded.frames);
}

TEST(MpcDecoderTest, DecodeToWav_Sv7Tone_KeepsToneLevelAndLength) {
  std::string sv7 = test::MakeSv7Tone(330, 3.0);
  std::vector<uint8_t> mpc(sv7.begin(), sv7.end());
  ASSERT_EQ(MpcDecoder::StreamVersion(mpc.data(), mpc.size()), 7);

  Decoded decoded = Decode(mpc);
  ASSERT_TRUE(decoded.ok);
  EXPECT_EQ(decoded.rate, 44100u);
  EXPECT_EQ(decoded.channels, 2u);
  EXPECT_EQ(decoded.frames, static_cast<uint32_t>(test::Sv7ToneSamples(3.0)))
      << "the last frame's valid samples, not the whole frame";
  EXPECT_EQ(AnnouncedFrames(mpc), decoded.frames);
  EXPECT_NEAR(test::SignalAnalysis::ToneFrequency(decoded.left, 44100), 330, 330 * 0.01);
  EXPECT_NEAR(test::SignalAnalysis::SoundingRms(decoded.left, 44100), 0.354, 0.03);
}

TEST(MpcDecoderTest, DecodeToWav_DamagedStreams_FailOrEndEarly) {
  test::TestMedia media;
  std::vector<uint8_t> mpc = ReadFile(media.Make("tone", "mpc", 784, 3.0));
  ASSERT_GT(mpc.size(), 1000u);
  uint32_t fullFrames = Decode(mpc).frames;

  std::vector<uint8_t> truncated(mpc.begin(), mpc.begin() + static_cast<long>(mpc.size() / 2));
  Decoded half = Decode(truncated);
  if (half.ok) {
    EXPECT_LT(half.frames, fullFrames);
  }

  std::vector<uint8_t> scrambled = mpc;
  for (size_t i = 64; i < scrambled.size(); i += 7) scrambled[i] ^= 0xa5;
  Decoded noisy = Decode(scrambled);
  if (noisy.ok) {
    EXPECT_LE(noisy.frames, fullFrames + 1152);
  }

  for (const std::string& junk : {std::string("MPCK"), std::string("MP+\x07", 4),
                                  std::string(5000, '\0'), std::string("not a song")}) {
    std::vector<uint8_t> bytes = Bytes(junk);
    EXPECT_FALSE(Decode(bytes).ok) << junk.size() << " bytes";
  }
}

TEST(MpcDecoderTest, IsMusepackFile_NameOrContent_Recognised) {
  test::TestMedia media;
  std::string mpc = media.Make("tone", "mpc", 784, 0.5);
  std::string mp3 = media.Make("tone", "mp3", 523, 0.5);
  EXPECT_TRUE(IsMusepack(mpc));
  EXPECT_FALSE(IsMusepack(mp3));
  EXPECT_TRUE(IsMusepack(media.Write("SHOUT.MPC", "whatever")));
  EXPECT_TRUE(IsMusepack(media.Write("x.mp+", "")));
  std::vector<uint8_t> content = ReadFile(mpc);
  std::string stream(content.begin(), content.end());
  EXPECT_TRUE(IsMusepack(media.Write("renamed.mp3", stream)));
  // Behind a tag far longer than a first read of the file.
  std::string tag = std::string("ID3\x04\x00\x00\x00\x01\x40\x00", 10) + std::string(0x6000, 'x');
  EXPECT_TRUE(IsMusepack(media.Write("tagged.mp3", tag + stream)));
  EXPECT_FALSE(IsMusepack(media.Write("tagged.ogg", tag + "OggS")));
  EXPECT_FALSE(IsMusepack(media.Folder() + "/absent.ogg"));
  std::filesystem::create_directory(media.Folder() + "/songs.mpc.d");
  EXPECT_FALSE(IsMusepack(media.Write("songs.mpc.d/plain", "MP"))) << "the folder's dot is no extension";
}

}  // namespace
}  // namespace orvo

#include "backends/mpc_decoder.h"

#include <gtest/gtest.h>

#include "base/temporary_file.h"
#include "tests/backends/sv7_tone.h"
#include "tests/backends/test_media.h"

namespace orvo {
namespace {

// The stream version of each head, and what decoding gives: a stereo 44100 Hz
// WAV file of the stream's samples per channel, or a refusal (0). The sound
// itself is heard where the engine plays it.
TEST(MpcDecoder, Streams_VersionAndDecodedLength) {
  test::TestMedia media;
  const std::string sv8 = test::ReadBytes(media.Make("tone", "mpc", 784, 3)),
                    sv7 = test::MakeSv7Tone(330, 3);
  const long sv7Samples = test::Sv7ToneSamples(3);  // the last frame's valid samples only
  const struct {
    std::string bytes;
    int version;
    long samples;
  } rows[] = {{sv8, 8, 3 * 44100},
              {std::string("ID3\x04\0\0\0\0\0\x03tag", 13) + sv8, 8, 3 * 44100},
              {sv7, 7, sv7Samples},
              {"MP+\x17" + sv7.substr(4), 7, sv7Samples},  // SV7.1: minor version
              {"MP+\x06" + sv7.substr(4), 0, 0},
              {"MPCK", 8, 0},
              {sv7.substr(0, 4), 7, 0},
              {"MPC", 0, 0},
              {std::string(5000, '\0'), 0, 0},
              {std::string("ID3\x04\0\0\0\0\x7f\x7fMPCK", 14), 0, 0}};
  for (const auto& [bytes, version, samples] : rows) {
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    TemporaryFile wav;
    ASSERT_TRUE(wav.Create(".wav"));
    EXPECT_EQ(MpcDecoder::StreamVersion(data, bytes.size()), version) << bytes.substr(0, 4);
    EXPECT_EQ(MpcDecoder::DecodeToWav(data, bytes.size(), wav.Descriptor()), samples != 0)
        << bytes.substr(0, 4);
    const std::string out = test::ReadBytes(wav.Path());
    if (samples == 0) continue;
    EXPECT_EQ(out.substr(22, 6), std::string("\x02\0\x44\xac\0\0", 6)) << "stereo, 44100 Hz";
    EXPECT_NEAR((out.size() - 44) / 4.0, samples, samples == sv7Samples ? 0 : 1152);
  }
}

}  // namespace
}  // namespace orvo

#include "backends/mpc_decoder.h"

#include <gtest/gtest.h>

#include "base/temporary_file.h"
#include "tests/backends/sv7_tone.h"
#include "tests/backends/test_media.h"

namespace orvo {
namespace {

// Each stream decodes into a stereo 44100 Hz WAV file of its length (the
// sound itself is heard where the engine plays it), or is refused.
TEST(MpcDecoder, DecodeToWav_StreamsOfTheirLengthOrRefused) {
  test::TestMedia media;
  const std::string sv8 = test::ReadBytes(media.Make("tone", "mpc", 784, 3)), sv7 = test::MakeSv7Tone(330, 3);
  const long sv7Samples = test::Sv7ToneSamples(3);  // the last frame's valid samples only
  const std::pair<std::string, long> rows[] = {  // a stream, the samples it gives (0: refused)
      {sv8, 3 * 44100},       {std::string("ID3\x04\0\0\0\0\0\x03tag", 13) + sv8, 3 * 44100},
      {sv7, sv7Samples},      {"MP+\x17" + sv7.substr(4), sv7Samples},  // SV7.1: a minor version
      {"MP+\x06" + sv7.substr(4), 0},  // SV6 and older
      {"MPCK", 0},            {sv7.substr(0, 4), 0}, {std::string(5000, '\0'), 0}, {"not a song", 0},
      {std::string("ID3\x04\0\0\0\0\x7f\x7fMPCK", 14), 0},  // a tag longer than the file
  };
  for (const auto& [stream, samples] : rows) {
    TemporaryFile wav;
    ASSERT_TRUE(wav.Create(".wav"));
    const auto* bytes = reinterpret_cast<const uint8_t*>(stream.data());
    EXPECT_EQ(MpcDecoder::DecodeToWav(bytes, stream.size(), wav.Descriptor()), samples != 0) << stream.substr(0, 4);
    const std::string out = test::ReadBytes(wav.Path());
    if (samples == 0) continue;
    EXPECT_EQ(out.substr(22, 6), std::string("\x02\0\x44\xac\0\0", 6)) << "stereo, 44100 Hz";
    EXPECT_NEAR((out.size() - 44) / 4.0, samples, samples == sv7Samples ? 0 : 1152);
  }
}

}  // namespace
}  // namespace orvo

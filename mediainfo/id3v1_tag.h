#pragma once

namespace orvo {

class ByteSource;
struct SongInfo;

// Reads the ID3v1 tag in the last 128 bytes: with the "TAG" mark, `title`,
// `artist` and `album` are set (even to empty); without it, or in a file
// shorter than 128 bytes, nothing is set.
void ReadId3v1(ByteSource& source, SongInfo& info);

}  // namespace orvo

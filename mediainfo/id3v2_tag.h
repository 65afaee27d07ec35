#pragma once

#include <cstddef>
#include <cstdint>

namespace orvo {

class ByteSource;
struct SongInfo;

// Walks the ID3v2 frames of a file whose first byte of value 255 is not at
// offset 0 and stores TIT2/TT2, TPE1/TP1 and TALB/TAL in `title`, `artist`
// and `album`. Byte 3 selects the layout (2, 3 or 4; others: no frames).
// The tag size is not trusted: the walk goes on through whatever follows the
// tag until an all-zero identifier, the "3DI" footer or a frame size of 0
// (layout 2) ends it; positions never pass INT32_MAX (layouts 3 and 4) and
// bytes past the end of the file read as zero, so every walk ends.
void ReadId3v2(ByteSource& source, SongInfo& info);

// The size an ID3v2 tag header at the start of `data` claims for the whole
// tag (header, body and footer), which may reach beyond the `size` bytes at
// hand; 0 without a valid header (no "ID3", or a size that is not
// synchsafe). Lets other readers skip the tag.
size_t Id3v2TagSize(const uint8_t* data, size_t size);

}  // namespace orvo

// Song analysis of arbitrary bytes, from memory and through the block-cached file source, which must
// agree; every song gets a description and a playlist row.
#include <sys/mman.h>
#include <unistd.h>

#include "mediainfo/description.h"
#include "mediainfo/file_byte_source.h"
#include "mediainfo/memory_byte_source.h"
#include "ui/windows/playlist_row.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  orvo::MemoryByteSource memory(data, size);
  orvo::FileByteSource file;
  orvo::SongInfo info, fromFile;
  static const int fd = memfd_create("song", 0);
  const bool valid = orvo::ReadSongInfo(memory, info);
  if (ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != ssize_t(size) || !file.Open("/proc/self/fd/" + std::to_string(fd)) ||
      orvo::ReadSongInfo(file, fromFile) != valid || fromFile.artist + "|" + fromFile.title + "|" + fromFile.album !=
      info.artist + "|" + info.title + "|" + info.album || orvo::DescriptionText("/m/a&b.mp3", info).empty() ||
      orvo::MakePlaylistRow("/m/a&b.mp3", info).title.empty()) {
    __builtin_trap();
  }
  return 0;
}

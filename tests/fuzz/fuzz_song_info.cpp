// Song analysis of arbitrary bytes, read from memory and through the block-cached file source,
// which must agree; fields are runs of input bytes, and an invalid header reads no tag.
#include <sys/mman.h>
#include <unistd.h>

#include "mediainfo/description.h"
#include "mediainfo/file_byte_source.h"
#include "mediainfo/memory_byte_source.h"
#include "ui/windows/playlist_row.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  orvo::MemoryByteSource memory(data, size);
  orvo::SongInfo info, fromFile;
  const bool valid = orvo::ReadSongInfo(memory, info);
  for (const std::string* field : {&info.artist, &info.title, &info.album}) {
    if (field->size() > size && *field != orvo::kNoInformation) __builtin_trap();
  }
  if (!valid && (!info.title.empty() || !info.album.empty())) __builtin_trap();
  static const int fd = memfd_create("song", 0);
  orvo::FileByteSource file;
  if (ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != ssize_t(size) ||
      !file.Open("/proc/self/fd/" + std::to_string(fd)) || orvo::ReadSongInfo(file, fromFile) != valid ||
      fromFile.artist != info.artist || fromFile.title != info.title || fromFile.album != info.album) {
    __builtin_trap();
  }
  if (orvo::DescriptionText("/m/a&b.mp3", info).empty() ||
      orvo::MakePlaylistRow("/m/a&b.mp3", info).title.empty()) {
    __builtin_trap();
  }
  return 0;
}

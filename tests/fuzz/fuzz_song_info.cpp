// Song analysis of arbitrary bytes, read both from memory and through the
// block-cached file source, which must agree.

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "mediainfo/description.h"
#include "ui/windows/playlist_row.h"
#include "mediainfo/file_byte_source.h"
#include "mediainfo/memory_byte_source.h"
#include "mediainfo/song_info.h"

namespace {

int MemoryFile() {
  static const int fd = memfd_create("song", 0);
  return fd;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  orvo::MemoryByteSource memory(data, size);
  orvo::SongInfo fromMemory;
  const bool valid = orvo::ReadSongInfo(memory, fromMemory);

  // A field is a run of input bytes, and an invalid header reads no tag.
  for (const std::string* field : {&fromMemory.artist, &fromMemory.title, &fromMemory.album}) {
    if (field->size() > size && *field != orvo::kNoInformation) __builtin_trap();
  }
  if (!valid && (!fromMemory.title.empty() || !fromMemory.album.empty())) __builtin_trap();

  const int fd = MemoryFile();
  if (fd >= 0 && ftruncate(fd, 0) == 0 && pwrite(fd, data, size, 0) == static_cast<ssize_t>(size)) {
    orvo::FileByteSource file;
    orvo::SongInfo fromFile;
    if (!file.Open("/proc/self/fd/" + std::to_string(fd))) __builtin_trap();
    if (orvo::ReadSongInfo(file, fromFile) != valid || fromFile.artist != fromMemory.artist ||
        fromFile.title != fromMemory.title || fromFile.album != fromMemory.album) {
      __builtin_trap();
    }
  }

  const std::string text = orvo::DescriptionText("/music/a&b.mp3", fromMemory);
  const orvo::PlaylistRow row = orvo::MakePlaylistRow("/music/a&b.mp3", fromMemory);
  if (text.empty() || row.title.empty()) __builtin_trap();
  return 0;
}

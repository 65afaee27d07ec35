#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace orvo {

// Files this program writes are replaced as a whole: the new content goes to
// a temporary file in the same folder, is flushed to disk and then renamed
// over the target. A crash, a kill or a full disk therefore leaves either the
// old or the new file, never a mix or a truncated one. Where the target is a
// symbolic link, the file it points to is replaced and the link kept; the
// target's permission bits are kept.

// Writes `content` as the file at `path`, creating it when missing. Refuses
// (false) when an existing target is not a regular file this process may
// open for writing, so that a read-only file is never changed. On failure the
// old file stays intact.
[[nodiscard]] bool WriteFileAtomically(const std::string& path, std::string_view content);

// Like WriteFileAtomically, but only when `path` already names a regular file
// this process may open for writing; never creates a file.
[[nodiscard]] bool ReplaceFileAtomically(const std::string& path, std::string_view content);

// Whether WriteFileAtomically can be expected to succeed: an existing target
// is a writable regular file, a missing one lies in an existing, writable
// folder. Used where a file must be refused before anything is written.
bool CanCreateFile(const std::string& path);

// Whether `path` names a regular file this process may open for writing.
bool CanWriteExistingFile(const std::string& path);

// The file a path finally refers to, following symbolic links (also one
// that points to a missing file). Gives `path` itself for a link loop.
std::string ResolveLinks(const std::string& path);

// The most ReadRegularFile reads. Playlists, preferences and skin
// descriptions are text of a few kilobytes; a playlist of a hundred
// thousand songs stays under 20 MiB. Anything larger is no such file (a
// disc image renamed, a sparse file of a terabyte), and reserving memory
// for it would end the program.
inline constexpr std::size_t kMaxReadBytes = 64u << 20;

// The whole content of the regular file at `path`, or nothing when it cannot
// be opened or read. Devices, FIFOs and folders count as unreadable, so that
// reading never blocks or runs forever, and so does a file of more than
// kMaxReadBytes (also one that grows past it while being read) or one whose
// content does not fit in memory. With `writable` set, the file is first
// tried for reading and writing and *writable tells whether that worked.
std::optional<std::string> ReadRegularFile(const std::string& path, bool* writable = nullptr);

}  // namespace orvo

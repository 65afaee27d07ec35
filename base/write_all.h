#pragma once

#include <cstddef>

namespace orvo {

// Writes all `size` bytes to `fd`, going on after short writes and
// interruptions. False when the descriptor refuses more (a full disk, say).
[[nodiscard]] bool WriteAll(int fd, const void* data, std::size_t size);

}  // namespace orvo

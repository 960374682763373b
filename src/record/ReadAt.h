#pragma once

#include <cstddef>
#include <cstdint>

namespace zefa::record {

// Reads up to `size` bytes of the file at `offset`, fewer only where the file
// ends; -1 with errno set on an error.
[[nodiscard]] long long readAt(int fd, char* buffer, std::size_t size, std::uint64_t offset);

}  // namespace zefa::record

#pragma once

#include <cstdint>
#include <string>

namespace velmora {

inline constexpr std::uint64_t kBytesPerMegabyte = 1048576;

// Whole megabytes, the fraction dropped.
constexpr std::uint64_t wholeMegabytes(std::uint64_t bytes) {
    return bytes / kBytesPerMegabyte;
}

// A megabyte figure as the window's labels show it and the copy reads it back: plain decimal
// digits, no grouping, no unit.
inline std::string megabyteFigure(std::uint64_t megabytes) {
    return std::to_string(megabytes);
}

}  // namespace velmora

#pragma once

#include <string>

namespace velmora::win32 {

// The system's own text for a Windows error code, without the line break it ends in.
std::string systemReason(unsigned long error);

// Throws PlatformError for what was attempted on which path, with the reason of error (by
// default the calling thread's last error).
[[noreturn]] void fail(const std::string& operation, const std::string& path);
[[noreturn]] void fail(const std::string& operation, const std::string& path, unsigned long error);

}  // namespace velmora::win32

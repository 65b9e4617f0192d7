#pragma once

#include <stdexcept>
#include <string>

namespace velmora {

// A failed operating-system operation: what was attempted, on which path, and the
// system's own reason.
class PlatformError : public std::runtime_error {
  public:
    PlatformError(std::string operation, std::string path, std::string reason)
        : std::runtime_error(operation + " failed for \"" + path + "\": " + reason),
          operation_(std::move(operation)),
          path_(std::move(path)),
          reason_(std::move(reason)) {}

    const std::string& operation() const { return operation_; }
    const std::string& path() const { return path_; }
    const std::string& reason() const { return reason_; }

  private:
    std::string operation_;
    std::string path_;
    std::string reason_;
};

}  // namespace velmora

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

// A copy found its destination's name taken, by a file that stays as it is; nothing of the
// copy is left.
class NameTaken : public PlatformError {
  public:
    using PlatformError::PlatformError;
};

// A copy that its destination did not give back as it was written: the stick may be failing,
// or hold less than it claims. Nothing of the copy is left under its name.
class NotReadBack : public PlatformError {
  public:
    using PlatformError::PlatformError;
};

// The drive at root (ending in the path separator) gave no answer in time, or has not yet
// answered an earlier call: it counts as gone. Not a PlatformError, so that no step that
// passes over a failed operation passes over a drive that stopped answering.
class DriveNotAnswering : public std::runtime_error {
  public:
    explicit DriveNotAnswering(std::string root)
        : std::runtime_error("The drive " + root + " does not answer."), root_(std::move(root)) {}

    const std::string& root() const { return root_; }

  private:
    std::string root_;
};

}  // namespace velmora

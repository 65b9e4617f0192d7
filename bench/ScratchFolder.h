#pragma once

#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

namespace velmora::bench {

// A folder of generated files under the system's temporary folder, removed at the end.
class ScratchFolder {
  public:
    explicit ScratchFolder(const std::string& name)
        : path_(std::filesystem::temp_directory_path() / (name + "-" + std::to_string(getpid()))) {
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string path() const { return path_.string(); }
    std::string at(const std::string& name) const { return (path_ / name).string(); }
    void write(const std::string& name, const std::string& bytes = {}) const {
        std::ofstream(path_ / name, std::ios::binary) << bytes;
    }

  private:
    std::filesystem::path path_;
};

}  // namespace velmora::bench

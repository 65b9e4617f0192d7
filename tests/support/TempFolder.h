#pragma once

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace velmora::test {

// A fresh folder under the system's temporary folder, removed with everything in it when
// the test ends. Paths are UTF-8; a relative one may use "/" on every system.
class TempFolder {
  public:
    TempFolder() { std::filesystem::create_directories(native(path_)); }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::permissions(native(path_), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(native(path_), ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    // The folder as a drive root: its path and a final separator.
    std::string root() const {
        return path_ + static_cast<char>(std::filesystem::path::preferred_separator);
    }
    // path() joined with a relative name, in the system's separators.
    std::string at(const std::string& relative) const {
        return utf8((native(path_) / native(relative)).make_preferred());
    }

    // Writes a file with these bytes, making its folders first.
    void write(const std::string& relative, const std::string& bytes = {}) const {
        const std::filesystem::path file = native(at(relative));
        std::filesystem::create_directories(file.parent_path());
        ASSERT_TRUE(std::ofstream(file, std::ios::binary) << bytes) << relative;
    }
    // A file of this size whose bytes are not stored (sparse where the system allows it).
    void writeSized(const std::string& relative, std::uint64_t size) const {
        write(relative);
        std::filesystem::resize_file(native(at(relative)), size);
    }
    void makeFolder(const std::string& relative) const {
        std::filesystem::create_directories(native(at(relative)));
    }
    bool exists(const std::string& relative) const {
        return std::filesystem::exists(native(at(relative)));
    }
    std::string read(const std::string& relative) const {
        std::ifstream in(native(at(relative)), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    // Removes a file, or a folder with everything in it.
    void remove(const std::string& relative) const {
        std::filesystem::remove_all(native(at(relative)));
    }
    // Every name in a folder, hidden ones too, sorted by byte.
    std::vector<std::string> names(const std::string& relative) const {
        std::vector<std::string> all;
        for (const auto& entry : std::filesystem::directory_iterator(native(at(relative)))) {
            all.push_back(utf8(entry.path().filename()));
        }
        std::sort(all.begin(), all.end());
        return all;
    }

  private:
    static std::filesystem::path native(const std::string& utf8) {
        return std::u8string(utf8.begin(), utf8.end());
    }
    static std::string utf8(const std::filesystem::path& path) {
        const std::u8string text = path.u8string();
        return {text.begin(), text.end()};
    }
    static std::string unique() {
        static std::atomic<unsigned> counter{0};
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        return utf8(std::filesystem::temp_directory_path() /
                    ("velmora-test-" + std::to_string(stamp) + "-" + std::to_string(counter++)));
    }

    std::string path_ = unique();
};

}  // namespace velmora::test

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

namespace fs = std::filesystem;

// A fresh folder under the system's temporary folder, removed with everything in it when
// the test ends. Paths are UTF-8; a relative one may use "/" on every system.
class TempFolder {
  public:
    TempFolder() { fs::create_directories(native(path_)); }
    ~TempFolder() {
        std::error_code ignored;
        fs::permissions(native(path_), fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(native(path_), ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    // The folder as a drive root: its path and a final separator.
    std::string root() const { return path_ + static_cast<char>(fs::path::preferred_separator); }
    // path() joined with a relative name, in the system's separators.
    std::string at(const std::string& relative) const {
        return utf8((native(path_) / native(relative)).make_preferred());
    }

    void write(const std::string& relative, const std::string& bytes = {}) const {
        fs::create_directories(file(relative).parent_path());
        ASSERT_TRUE(std::ofstream(file(relative), std::ios::binary) << bytes) << relative;
    }
    // A file of this size whose bytes are not stored (sparse where the system allows it).
    void writeSized(const std::string& relative, std::uint64_t size) const {
        write(relative);
        fs::resize_file(file(relative), size);
    }
    void makeFolder(const std::string& relative) const { fs::create_directories(file(relative)); }
    bool exists(const std::string& relative) const { return fs::exists(file(relative)); }
    std::string read(const std::string& relative) const {
        std::ifstream in(file(relative), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    void remove(const std::string& relative) const { fs::remove_all(file(relative)); }
    // Every name in a folder, hidden ones too, sorted by byte.
    std::vector<std::string> names(const std::string& relative) const {
        std::vector<std::string> all;
        for (const auto& entry : fs::directory_iterator(file(relative))) {
            all.push_back(utf8(entry.path().filename()));
        }
        std::sort(all.begin(), all.end());
        return all;
    }

  private:
    fs::path file(const std::string& relative) const { return native(at(relative)); }
    static fs::path native(const std::string& utf8) {
        return std::u8string(utf8.begin(), utf8.end());
    }
    static std::string utf8(const fs::path& path) {
        const std::u8string text = path.u8string();
        return {text.begin(), text.end()};
    }
    static std::string unique() {
        static std::atomic<unsigned> counter{0};
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        return utf8(fs::temp_directory_path() /
                    ("velmora-test-" + std::to_string(stamp) + "-" + std::to_string(counter++)));
    }

    std::string path_ = unique();
};

}  // namespace velmora::test

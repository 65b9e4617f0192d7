#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velmora::test {

// A fresh folder under the system's temporary folder, removed with everything in it when
// the test ends.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    // The folder as a drive root: its path and a final separator.
    std::string root() const;
    // path() joined with a relative name ("a/b.MP4" works on every system).
    std::string at(const std::string& relative) const;

    // Writes a file with the given bytes, making its folders first.
    void write(const std::string& relative, const std::string& bytes = {}) const;
    // Writes a file of the given size without storing its bytes (sparse where possible).
    void writeSized(const std::string& relative, std::uint64_t size) const;
    void makeFolder(const std::string& relative) const;
    bool exists(const std::string& relative) const;
    std::string read(const std::string& relative) const;
    // Removes a file or a folder with everything in it.
    void remove(const std::string& relative) const;
    // Every name in a folder, hidden ones too, sorted by byte.
    std::vector<std::string> names(const std::string& relative) const;

  private:
    std::string path_;
};

// The first bytes of a JPEG file: enough for the double to take it as a picture.
inline const std::string kJpegBytes = std::string("\xFF\xD8\xFF\xE0", 4) + "thumbnail";

}  // namespace velmora::test

#include "support/TempFolder.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace fs = std::filesystem;

namespace velmora::test {
namespace {

fs::path uniqueFolder() {
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    return fs::temp_directory_path() /
           ("velmora-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
}

fs::path asPath(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string asUtf8(const fs::path& path) {
    const std::u8string utf8 = path.u8string();
    return {utf8.begin(), utf8.end()};
}

}  // namespace

TempFolder::TempFolder() : path_(asUtf8(uniqueFolder())) {
    fs::create_directories(asPath(path_));
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    fs::permissions(asPath(path_), fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(asPath(path_), ignored);
}

std::string TempFolder::root() const {
    return path_ + static_cast<char>(fs::path::preferred_separator);
}

std::string TempFolder::at(const std::string& relative) const {
    return asUtf8((asPath(path_) / asPath(relative)).make_preferred());
}

void TempFolder::write(const std::string& relative, const std::string& bytes) const {
    const fs::path file = asPath(at(relative));
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out) {
        throw std::runtime_error("cannot write test file " + relative);
    }
}

void TempFolder::writeSized(const std::string& relative, std::uint64_t size) const {
    write(relative);
    fs::resize_file(asPath(at(relative)), size);
}

void TempFolder::makeFolder(const std::string& relative) const {
    fs::create_directories(asPath(at(relative)));
}

bool TempFolder::exists(const std::string& relative) const {
    return fs::exists(asPath(at(relative)));
}

std::string TempFolder::read(const std::string& relative) const {
    std::ifstream in(asPath(at(relative)), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void TempFolder::remove(const std::string& relative) const {
    fs::remove_all(asPath(at(relative)));
}

std::vector<std::string> TempFolder::names(const std::string& relative) const {
    std::vector<std::string> all;
    for (const auto& entry : fs::directory_iterator(asPath(at(relative)))) {
        all.push_back(asUtf8(entry.path().filename()));
    }
    std::sort(all.begin(), all.end());
    return all;
}

}  // namespace velmora::test

#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace velmora::uitest {

struct Video {
    std::wstring name;
    std::size_t size;
    std::string thumbnail;  // empty: none
};

// The source folder's videos, as the list sorts them: two with thumbnails, one without.
const std::vector<Video>& sourceVideos();
// Two videos of just under 2 MB each: they count 1 MB each, so both pass the space test on
// a stick with 3 MB free, where the second can't fit.
const std::vector<Video>& largeVideos();

// The folders the scenarios start from, made in the temporary folder and removed after:
// a working folder holding one video, start.mp4, and a folder of each set of videos.
struct TestFolders {
    TestFolders();
    ~TestFolders();
    TestFolders(const TestFolders&) = delete;
    TestFolders& operator=(const TestFolders&) = delete;

    std::wstring root;
    std::wstring work;
    std::wstring source;
    std::wstring large;
};

// A stand-in stick: its drive letter and volume label, and what the drive list shows.
struct Stick {
    wchar_t letter;
    std::string label;
    std::string entry() const {
        return std::string(1, static_cast<char>(letter)) + ": [" + label + "]";
    }
    std::wstring videoFolder() const { return std::wstring(1, letter) + L":\\MP_ROOT\\100ANV01"; }
};

}  // namespace velmora::uitest

#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velmora::uitest {

// Files the test writes and reads back, by Windows paths.
void writeFile(const std::wstring& path, const std::string& bytes);
std::string readFile(const std::wstring& path);
bool exists(const std::wstring& path);
// Bytes that differ from video to video, so a mixed-up copy shows.
std::string videoBytes(std::size_t size, int seed);
// Names in a folder matching a pattern, such as L"MAQ*.MP4".
std::vector<std::wstring> namesIn(const std::wstring& folder, const std::wstring& pattern);
// Removes a folder and everything in it.
void removeTree(const std::wstring& folder);

}  // namespace velmora::uitest

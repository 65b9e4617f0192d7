#pragma once

#include <string>
#include <string_view>

namespace velmora {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// A file inside a listed folder: the folder, one separator, the name. The separator is
// inserted even when the folder already ends in one (a drive root), as the shells accept.
inline std::string joinPath(std::string_view folder, std::string_view name) {
    std::string path;
    path.reserve(folder.size() + 1 + name.size());
    path.append(folder).push_back(kPathSeparator);
    path.append(name);
    return path;
}

}  // namespace velmora

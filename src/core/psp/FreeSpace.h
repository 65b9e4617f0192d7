#pragma once

#include <string>

namespace velmora {

class Platform;

// The free-space figure of the drive at root: the whole megabytes available to this user;
// "0" when there is no drive (an empty root) or it can't be measured.
std::string freeSpaceFigure(Platform& platform, const std::string& root);

}  // namespace velmora

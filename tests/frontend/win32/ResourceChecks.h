#pragma once

#include <string>

#include "Checks.h"

namespace velmora::uitest {

// What Explorer shows of the program file: its version information, its six icon images and
// its manifest.
void checkResources(Checks& checks, const std::wstring& program);

}  // namespace velmora::uitest

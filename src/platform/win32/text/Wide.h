#pragma once

#include <string>
#include <string_view>

namespace velmora::win32 {

// UTF-8, as the rest of the program holds text, to and from the UTF-16 of the wide-character
// Windows calls. Invalid sequences become U+FFFD rather than failing.
std::wstring toWide(std::string_view utf8);
std::string toUtf8(std::wstring_view utf16);

}  // namespace velmora::win32

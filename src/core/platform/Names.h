#pragma once

#include <string>
#include <string_view>

namespace velmora {

// File names compared as Windows compares them: letter case does not count. Only ASCII
// letters are folded; other UTF-8 bytes compare as they are.
bool equalsIgnoreCase(std::string_view a, std::string_view b);
bool lessIgnoreCase(std::string_view a, std::string_view b);
// The name with its ASCII letters in lower case: a key that sorts as lessIgnoreCase does.
std::string foldedCase(std::string_view name);

// Whether a name matches a pattern of * (any run) and ? (any one character), ignoring case.
bool matchesWildcard(std::string_view name, std::string_view pattern);

}  // namespace velmora

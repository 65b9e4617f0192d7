#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// File names compared as Windows compares them: letter case does not count. Only ASCII
// letters are folded; other UTF-8 bytes compare as they are.
bool equalsIgnoreCase(std::string_view a, std::string_view b);
bool lessIgnoreCase(std::string_view a, std::string_view b);
// The name with its ASCII letters in lower case: a key that sorts as lessIgnoreCase does.
std::string foldedCase(std::string_view name);

// Sorts names without regard to letter case. Names that differ only in case (possible off
// Windows) keep the byte order between them, so the order never depends on the order given.
void sortIgnoringCase(std::vector<std::string>& names);

// Whether a name matches a pattern of * (any run) and ? (any one character), ignoring case.
bool matchesWildcard(std::string_view name, std::string_view pattern);

}  // namespace velmora

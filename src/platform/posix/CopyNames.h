#pragma once

#include <string>
#include <string_view>

namespace velmora::posix {

// The names of the files that copies make in the destination's folder, for the copy that makes
// them and the sweep that takes what copies cut short left behind.

// A name for a temporary: ".velmora-copy-" and six letters or digits drawn at random.
std::string newTemporaryName();
bool isTemporaryName(std::string_view name);
// A name that earlier versions gave their temporaries: "." + a video's or thumbnail's name +
// ".velmora-" and six letters or digits.
bool isEarlierTemporaryName(std::string_view name);
// The name of a video or thumbnail that a copy makes: "MAQ", a prefix from 100 to 900, a list
// position (two digits, or a letter and a digit or letter; earlier versions: two or more
// digits), ".MP4" or ".THM", in any letter case, as FAT may show it.
bool isVideoOrThumbnailName(std::string_view name);

}  // namespace velmora::posix

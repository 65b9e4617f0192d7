#pragma once

#include <optional>
#include <string>

namespace velmora {

class Platform;

// Told when drawNamePrefix finds every prefix taken.
inline constexpr const char* kNoNamesLeft =
    "There are no free video names left on the PSP! Delete some videos from your PSP, then "
    "copy again.";

// Draws the name prefix of a copy run: a fresh draw (the platform reseeds from the clock
// each time) of a prefix from 100 to 900, drawn again for as long as a file in the PSP's
// video folder, as it is now, starts with "MAQ" (in any letter case) and those three digits:
// a thumbnail left without its video, and a file that came after the list was read, too.
// Nothing when every prefix is taken, which is found from the names before any draw, so the
// draw never runs for ever. Throws PlatformError when the folder can't be read.
std::optional<int> drawNamePrefix(Platform& platform, const std::string& pspFolder);

}  // namespace velmora

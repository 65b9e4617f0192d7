#pragma once

#include <string>
#include <string_view>

namespace velmora {

// A video's thumbnail lies beside it in the same folder. The two sides name it differently.

// On the computer the thumbnail takes the video's name without its extension: the list
// shows only "*.MP4" names, so the last four characters go. Holiday.MP4 -> Holiday.THM,
// a.b.MP4 -> a.b.THM.
std::string sourceThumbnailName(std::string_view video);

// On the PSP the thumbnail takes the first eight characters of the video's name (the whole
// name when it is shorter), as the PSP's own eight-character names need:
// MAQ12301.MP4 -> MAQ12301.THM, ABC.MP4 -> ABC.MP4.THM, holiday.MP4 -> holiday..THM.
// Characters are counted, not bytes, so a name is never cut inside a character.
std::string pspThumbnailName(std::string_view video);

}  // namespace velmora

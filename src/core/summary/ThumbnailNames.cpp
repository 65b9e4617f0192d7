#include "summary/ThumbnailNames.h"

#include <algorithm>

namespace velmora {
namespace {

constexpr std::string_view kThumbnailExtension = ".THM";

bool continuesCharacter(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// The bytes of the first count characters of a UTF-8 text.
std::string_view leadingCharacters(std::string_view text, std::size_t count) {
    std::size_t end = 0;
    for (std::size_t seen = 0; end < text.size(); ++end) {
        if (!continuesCharacter(text[end]) && seen++ == count) {
            break;
        }
    }
    return text.substr(0, end);
}

std::string withThumbnailExtension(std::string_view base) {
    std::string name(base);
    name.append(kThumbnailExtension);
    return name;
}

}  // namespace

std::string sourceThumbnailName(std::string_view video) {
    const std::size_t extension = std::string_view(".MP4").size();
    return withThumbnailExtension(
        video.substr(0, video.size() - std::min(video.size(), extension)));
}

std::string pspThumbnailName(std::string_view video) {
    return withThumbnailExtension(leadingCharacters(video, 8));
}

}  // namespace velmora

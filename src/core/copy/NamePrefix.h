#pragma once

#include <optional>

namespace velmora {

class FileList;
class Platform;

// Draws the name prefix of a copy run: a fresh draw (the platform reseeds from the clock
// each time) of a prefix from 100 to 900, drawn again for as long as a name in the PSP list
// starts with "MAQ" (in any letter case) and those three digits. Nothing when every
// prefix is taken, which is found from the listed names before any draw, so the draw never
// runs for ever.
std::optional<int> drawNamePrefix(Platform& platform, const FileList& pspList);

}  // namespace velmora

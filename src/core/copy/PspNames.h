#pragma once

#include <optional>
#include <string>

namespace velmora {

// The PSP lists a video only under a name of "MAQ", three digits and two more characters; the
// three digits are the run's name prefix, shared by every video of one copy.
inline constexpr int kFirstNamePrefix = 100;
inline constexpr int kLastNamePrefix = 900;

// The last source list position that has a PSP name of its own.
inline constexpr int kLastNamedPosition = 1035;

// The name a copied video gets on the PSP: "MAQ", the three-digit prefix, then the item's
// position in the source list (counted from 1), then ".MP4". Positions 1 to 99 are written as
// two digits ("01" to "99"). From 100 on, the two characters are a letter and a digit or
// letter ("A0" for 100, "A1" for 101 ... "ZZ" for 1035), so that every name keeps eight
// characters before ".MP4": the thumbnail, named by those eight characters, then belongs to
// this video alone. Nothing for a position beyond kLastNamedPosition.
std::optional<std::string> pspVideoName(int prefix, int position);

}  // namespace velmora

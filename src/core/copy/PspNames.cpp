#include "copy/PspNames.h"

#include <string_view>

namespace velmora {
namespace {

constexpr std::string_view kDigitsAndLetters = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr int kTwoDigitPositions = 99;

// Two characters for a position of 100 or more. The first is always a letter, so the code
// never equals the two digits of a lower position, and codes sort after "99" in position order.
std::string lettered(int position) {
    const auto k = static_cast<std::size_t>(position - kTwoDigitPositions - 1);
    const std::size_t base = kDigitsAndLetters.size();
    return {static_cast<char>('A' + k / base), kDigitsAndLetters[k % base]};
}

std::string twoDigits(int position) {
    return {static_cast<char>('0' + position / 10), static_cast<char>('0' + position % 10)};
}

}  // namespace

std::optional<std::string> pspVideoName(int prefix, int position) {
    if (position < 1 || position > kLastNamedPosition) {
        return std::nullopt;
    }
    const std::string code =
        position <= kTwoDigitPositions ? twoDigits(position) : lettered(position);
    return "MAQ" + std::to_string(prefix) + code + ".MP4";
}

}  // namespace velmora

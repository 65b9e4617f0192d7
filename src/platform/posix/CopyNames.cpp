#include "posix/CopyNames.h"

#include <random>

#include "platform/Names.h"

namespace velmora::posix {
namespace {

constexpr std::string_view kPrefix = ".velmora-copy-";
constexpr std::string_view kEarlierMark = ".velmora-";
constexpr std::string_view kLetters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t kRandomLetters = 6;

bool isRandomLetters(std::string_view text) {
    return text.size() == kRandomLetters && text.find_first_not_of(kLetters) == text.npos;
}

bool isDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == text.npos;
}

bool isLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// A list position as a name writes it: two digits, or from the 100th on a letter and a digit
// or letter; earlier versions wrote every position in digits.
bool isPositionCode(std::string_view code) {
    const bool lettered =
        code.size() == 2 && isLetter(code[0]) && (isLetter(code[1]) || isDigits(code.substr(1)));
    return lettered || (code.size() >= 2 && isDigits(code));
}

}  // namespace

std::string newTemporaryName() {
    std::random_device random;
    std::uniform_int_distribution<std::size_t> pick(0, kLetters.size() - 1);
    std::string name(kPrefix);
    for (std::size_t i = 0; i < kRandomLetters; ++i) {
        name.push_back(kLetters[pick(random)]);
    }
    return name;
}

bool isTemporaryName(std::string_view name) {
    return name.starts_with(kPrefix) && isRandomLetters(name.substr(kPrefix.size()));
}

bool isEarlierTemporaryName(std::string_view name) {
    constexpr std::size_t kTail = kEarlierMark.size() + kRandomLetters;
    if (name.size() <= kTail || !name.starts_with('.')) {
        return false;
    }
    const std::string_view tail = name.substr(name.size() - kTail);
    return tail.starts_with(kEarlierMark) && isRandomLetters(tail.substr(kEarlierMark.size())) &&
           isVideoOrThumbnailName(name.substr(1, name.size() - 1 - kTail));
}

bool isVideoOrThumbnailName(std::string_view name) {
    constexpr std::size_t kShortest = std::string_view("MAQ10001.MP4").size();
    if (name.size() < kShortest) {
        return false;
    }
    const std::string_view extension = name.substr(name.size() - 4);
    const std::string_view prefix = name.substr(3, 3);
    return equalsIgnoreCase(name.substr(0, 3), "MAQ") && isDigits(prefix) && prefix >= "100" &&
           prefix <= "900" && isPositionCode(name.substr(6, name.size() - 10)) &&
           (equalsIgnoreCase(extension, ".MP4") || equalsIgnoreCase(extension, ".THM"));
}

}  // namespace velmora::posix

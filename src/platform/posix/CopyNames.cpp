#include "posix/CopyNames.h"

#include <random>

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
    const auto mark = name.rfind(kEarlierMark);
    return name.starts_with('.') && mark != std::string_view::npos && mark > 1 &&
           isRandomLetters(name.substr(mark + kEarlierMark.size()));
}

}  // namespace velmora::posix

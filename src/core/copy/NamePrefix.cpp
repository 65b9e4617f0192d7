#include "copy/NamePrefix.h"

#include <bitset>
#include <charconv>
#include <cmath>
#include <string_view>
#include <vector>

#include "copy/PspNames.h"
#include "platform/Names.h"
#include "platform/Platform.h"

namespace velmora {
namespace {

constexpr int kPrefixCount = kLastNamePrefix - kFirstNamePrefix + 1;
constexpr std::string_view kMark = "MAQ";
constexpr std::size_t kPrefixDigits = 3;

// The prefix a name blocks, if any: "MAQ" then three digits from 100 to 900. The mark counts
// in any letter case: the stick's file system ignores case, so a copy named MAQ12301.MP4
// would meet a video named maq12301.MP4.
std::optional<int> blockedPrefix(std::string_view name) {
    if (name.size() < kMark.size() + kPrefixDigits ||
        !equalsIgnoreCase(name.substr(0, kMark.size()), kMark)) {
        return std::nullopt;
    }
    const char* first = name.data() + kMark.size();
    const char* last = first + kPrefixDigits;
    int prefix = 0;
    const auto [end, error] = std::from_chars(first, last, prefix);
    if (error != std::errc() || end != last || prefix < kFirstNamePrefix ||
        prefix > kLastNamePrefix) {
        return std::nullopt;
    }
    return prefix;
}

std::bitset<kPrefixCount> blockedPrefixes(const std::vector<std::string>& names) {
    std::bitset<kPrefixCount> blocked;
    for (const std::string& name : names) {
        if (const auto prefix = blockedPrefix(name)) {
            blocked.set(static_cast<std::size_t>(*prefix - kFirstNamePrefix));
        }
    }
    return blocked;
}

int prefixOf(double draw) {
    return static_cast<int>(std::floor(draw * kPrefixCount + kFirstNamePrefix));
}

}  // namespace

std::optional<int> drawNamePrefix(Platform& platform, const std::string& pspFolder) {
    const auto blocked = blockedPrefixes(platform.listFiles(pspFolder));
    if (blocked.all()) {
        return std::nullopt;
    }
    for (;;) {
        const int prefix = prefixOf(platform.randomDraw());
        if (!blocked.test(static_cast<std::size_t>(prefix - kFirstNamePrefix))) {
            return prefix;
        }
    }
}

}  // namespace velmora

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>

#include "copy/PspNames.h"
#include "platform/Names.h"
#include "summary/ThumbnailNames.h"

namespace velmora {
namespace {

// Wildcards match as Windows does, in any letter case; PSP positions from one hundred on start
// with a letter; each side names a thumbnail by its own rule.
TEST(NameRules, WildcardsPspNamesAndThumbnailNames) {
    for (const auto& [name, pattern, matches] :
         {std::tuple{"clip.mp4", "*.MP4", true}, std::tuple{".MP4", "*.MP4", true},
          std::tuple{"a.MP4.MP4", "*.MP4", true}, std::tuple{"clipMP4", "*.MP4", false},
          std::tuple{"x.MP4.THM", "*.MP4", false}, std::tuple{"", "?", false},
          std::tuple{"MAQ12301.THM", "MAQ?????.*", true},
          std::tuple{"MAQ1230.THM", "MAQ?????.*", false}}) {
        EXPECT_EQ(matchesWildcard(name, pattern), matches) << name << " " << pattern;
    }
    for (const auto& [position, name] :
         {std::pair{1, "MAQ45601.MP4"}, std::pair{99, "MAQ45699.MP4"},
          std::pair{100, "MAQ456A0.MP4"}, std::pair{135, "MAQ456AZ.MP4"},
          std::pair{136, "MAQ456B0.MP4"}, std::pair{kLastNamedPosition, "MAQ456ZZ.MP4"}}) {
        EXPECT_EQ(pspVideoName(456, position), name);
    }
    EXPECT_EQ(pspVideoName(456, kLastNamedPosition + 1), std::nullopt);
    EXPECT_EQ(pspVideoName(456, 0), std::nullopt);
    // A copy's thumbnail is named by the first eight characters of its video's name.
    std::set<std::string> thumbnails;
    for (int position = 1; position <= kLastNamedPosition; ++position) {
        ASSERT_TRUE(thumbnails.insert(pspThumbnailName(*pspVideoName(900, position))).second)
            << position;
    }
    // The source side swaps the extension, the PSP side keeps eight characters.
    for (const auto& [video, source, psp] :
         {std::tuple{"a.b.mp4", "a.b.THM", "a.b.mp4.THM"},
          std::tuple{"holiday.MP4", "holiday.THM", "holiday..THM"},
          std::tuple{"üüberlong.MP4", "üüberlong.THM", "üüberlon.THM"}}) {  // characters, not bytes
        EXPECT_EQ(sourceThumbnailName(video), source);
        EXPECT_EQ(pspThumbnailName(video), psp);
    }
}

}  // namespace
}  // namespace velmora

#include "copy/PspNames.h"

#include <gtest/gtest.h>

#include <set>

#include "summary/ThumbnailNames.h"

namespace velmora {
namespace {

TEST(PspNames, PositionsFromOneHundredOnStartWithALetterInPositionOrder) {
    for (const auto& [position, name] :
         {std::pair{1, "MAQ45601.MP4"}, std::pair{10, "MAQ45610.MP4"},
          std::pair{99, "MAQ45699.MP4"}, std::pair{100, "MAQ456A0.MP4"},
          std::pair{135, "MAQ456AZ.MP4"}, std::pair{136, "MAQ456B0.MP4"},
          std::pair{kLastNamedPosition, "MAQ456ZZ.MP4"}}) {
        EXPECT_EQ(pspVideoName(456, position), name);
    }
    EXPECT_EQ(pspVideoName(456, kLastNamedPosition + 1), std::nullopt);
    EXPECT_EQ(pspVideoName(456, 0), std::nullopt);
}

// A copy's thumbnail is named by the first eight characters of its video's name, so no two
// positions may share them.
TEST(PspNames, EveryNamedPositionHasAThumbnailOfItsOwn) {
    std::set<std::string> thumbnails;
    for (int position = 1; position <= kLastNamedPosition; ++position) {
        ASSERT_TRUE(thumbnails.insert(pspThumbnailName(*pspVideoName(900, position))).second)
            << position;
    }
}

TEST(ThumbnailNames, TheSourceSideSwapsTheExtensionAndThePspSideKeepsEightCharacters) {
    for (const auto& [video, source, psp] :
         {std::tuple{"a.b.mp4", "a.b.THM", "a.b.mp4.THM"},
          std::tuple{"MAQ12301.MP4", "MAQ12301.THM", "MAQ12301.THM"},
          std::tuple{"holiday.MP4", "holiday.THM", "holiday..THM"},
          std::tuple{"\xC3\xBC\xC3\xBC"
                     "berlong.MP4",
                     "\xC3\xBC\xC3\xBC"
                     "berlong.THM",
                     "\xC3\xBC\xC3\xBC"
                     "berlon.THM"}}) {  // characters, not bytes
        EXPECT_EQ(sourceThumbnailName(video), source);
        EXPECT_EQ(pspThumbnailName(video), psp);
    }
}

}  // namespace
}  // namespace velmora

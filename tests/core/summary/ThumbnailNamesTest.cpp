#include "summary/ThumbnailNames.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(ThumbnailNamesTest, TheSourceSideDropsTheFourCharacterExtension) {
    EXPECT_EQ(sourceThumbnailName("Holiday.MP4"), "Holiday.THM");
    EXPECT_EQ(sourceThumbnailName("a.b.MP4"), "a.b.THM");
    EXPECT_EQ(sourceThumbnailName("clip.mp4"), "clip.THM");
    EXPECT_EQ(sourceThumbnailName("x.MP4"), "x.THM");
}

TEST(ThumbnailNamesTest, ThePspSideKeepsTheFirstEightCharacters) {
    EXPECT_EQ(pspThumbnailName("MAQ12301.MP4"), "MAQ12301.THM");
    EXPECT_EQ(pspThumbnailName("clip.MP4"), "clip.MP4.THM");
    EXPECT_EQ(pspThumbnailName("ABC.MP4"), "ABC.MP4.THM");
    EXPECT_EQ(pspThumbnailName("A.MP4"), "A.MP4.THM");
    EXPECT_EQ(pspThumbnailName("holiday.MP4"), "holiday..THM");
    EXPECT_EQ(pspThumbnailName("a.b.c.d.e.MP4"), "a.b.c.d..THM");
}

TEST(ThumbnailNamesTest, ThePspSideCountsCharactersNotBytes) {
    // Umlauts take two bytes each; none may be cut in half.
    EXPECT_EQ(pspThumbnailName("\xC3\xBC\xC3\xBC"
                               "berlong.MP4"),
              "\xC3\xBC\xC3\xBC"
              "berlon.THM");
    EXPECT_EQ(pspThumbnailName("\xC3\xA4"
                               ".MP4"),
              "\xC3\xA4"
              ".MP4.THM");
}

TEST(ThumbnailNamesTest, TheSameVideoHasDifferentThumbnailsOnEachSide) {
    EXPECT_EQ(sourceThumbnailName("clip.MP4"), "clip.THM");
    EXPECT_EQ(pspThumbnailName("clip.MP4"), "clip.MP4.THM");
}

}  // namespace
}  // namespace velmora

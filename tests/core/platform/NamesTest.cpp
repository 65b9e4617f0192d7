#include "platform/Names.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velmora {
namespace {

TEST(Names, WildcardMatchesAnyLetterCaseOfTheVideoPattern) {
    EXPECT_TRUE(matchesWildcard("clip.MP4", "*.MP4"));
    EXPECT_TRUE(matchesWildcard("clip.mp4", "*.MP4"));
    EXPECT_TRUE(matchesWildcard("a.b.Mp4", "*.MP4"));
    EXPECT_TRUE(matchesWildcard(".MP4", "*.MP4"));
    EXPECT_FALSE(matchesWildcard("clip.MP4.THM", "*.MP4"));
    EXPECT_FALSE(matchesWildcard("clip.MP", "*.MP4"));
    EXPECT_FALSE(matchesWildcard("clipMP4", "*.MP4"));
}

TEST(Names, WildcardBacktracksAndMatchesSingleCharacters) {
    EXPECT_TRUE(matchesWildcard("MAQ12301.THM", "MAQ?????.*"));
    EXPECT_TRUE(matchesWildcard("a.MP4.MP4", "*.MP4"));
    EXPECT_TRUE(matchesWildcard("anything", "*"));
    EXPECT_FALSE(matchesWildcard("MAQ1230.THM", "MAQ?????.*"));
    EXPECT_TRUE(matchesWildcard("", "*"));
    EXPECT_FALSE(matchesWildcard("", "?"));
}

TEST(Names, ComparisonIgnoresOnlyLetterCase) {
    EXPECT_TRUE(equalsIgnoreCase("100anv01", "100ANV01"));
    EXPECT_FALSE(equalsIgnoreCase("100ANV01", "100ANV0"));
    EXPECT_TRUE(lessIgnoreCase("apple.MP4", "Banana.MP4"));
    EXPECT_FALSE(lessIgnoreCase("Banana.MP4", "apple.MP4"));
    EXPECT_FALSE(lessIgnoreCase("CLIP.MP4", "clip.mp4"));
}

TEST(Names, SortIgnoresCaseAndKeepsNamesDifferingOnlyInCaseInByteOrder) {
    std::vector<std::string> names{"b.MP4",    "clip.mp4", "a.MP4", "CLIP.mp4",
                                   "Clip.mp4", "B.MP4",    ""};
    sortIgnoringCase(names);
    EXPECT_EQ(names, (std::vector<std::string>{"", "a.MP4", "B.MP4", "b.MP4", "CLIP.mp4",
                                               "Clip.mp4", "clip.mp4"}));
}

}  // namespace
}  // namespace velmora

#include "platform/Names.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace velmora {
namespace {

class Wildcard : public ::testing::TestWithParam<std::tuple<const char*, const char*, bool>> {};

TEST_P(Wildcard, MatchesAsWindowsDoesInAnyLetterCase) {
    const auto& [name, pattern, matches] = GetParam();
    EXPECT_EQ(matchesWildcard(name, pattern), matches);
}

INSTANTIATE_TEST_SUITE_P(
    Names, Wildcard,
    ::testing::Values(std::tuple{"clip.MP4", "*.MP4", true}, std::tuple{"clip.mp4", "*.MP4", true},
                      std::tuple{"a.b.Mp4", "*.MP4", true}, std::tuple{".MP4", "*.MP4", true},
                      std::tuple{"a.MP4.MP4", "*.MP4", true},
                      std::tuple{"x.MP4.THM", "*.MP4", false},
                      std::tuple{"clip.MP", "*.MP4", false}, std::tuple{"clipMP4", "*.MP4", false},
                      std::tuple{"MAQ12301.THM", "MAQ?????.*", true},
                      std::tuple{"MAQ1230.THM", "MAQ?????.*", false}, std::tuple{"", "*", true},
                      std::tuple{"", "?", false}));

TEST(Names, CompareAndSortIgnoringOnlyLetterCase) {
    EXPECT_TRUE(equalsIgnoreCase("100anv01", "100ANV01"));
    EXPECT_FALSE(equalsIgnoreCase("100ANV01", "100ANV0"));
    EXPECT_TRUE(lessIgnoreCase("apple.MP4", "Banana.MP4"));
    EXPECT_FALSE(lessIgnoreCase("CLIP.MP4", "clip.mp4"));
    std::vector<std::string> names{"b.MP4",    "clip.mp4", "a.MP4", "CLIP.mp4",
                                   "Clip.mp4", "B.MP4",    ""};
    sortIgnoringCase(names);
    EXPECT_EQ(names, (std::vector<std::string>{"", "a.MP4", "B.MP4", "b.MP4", "CLIP.mp4",
                                               "Clip.mp4", "clip.mp4"}));
}

}  // namespace
}  // namespace velmora

#include "copy/PspNames.h"

#include <gtest/gtest.h>

#include <set>

namespace velmora {
namespace {

TEST(PspNames, PositionsUpToNinetyNineAreTwoDigits) {
    EXPECT_EQ(pspVideoName(123, 1), "MAQ12301.MP4");
    EXPECT_EQ(pspVideoName(123, 9), "MAQ12309.MP4");
    EXPECT_EQ(pspVideoName(123, 10), "MAQ12310.MP4");
    EXPECT_EQ(pspVideoName(900, 99), "MAQ90099.MP4");
}

TEST(PspNames, LaterPositionsStartWithALetterInPositionOrder) {
    EXPECT_EQ(pspVideoName(100, 100), "MAQ100A0.MP4");
    EXPECT_EQ(pspVideoName(100, 135), "MAQ100AZ.MP4");
    EXPECT_EQ(pspVideoName(100, 136), "MAQ100B0.MP4");
    EXPECT_EQ(pspVideoName(100, kLastNamedPosition), "MAQ100ZZ.MP4");
    EXPECT_EQ(pspVideoName(100, kLastNamedPosition + 1), std::nullopt);
    EXPECT_EQ(pspVideoName(100, 0), std::nullopt);
}

// The thumbnail of a copy is named by the first eight characters of its video's name, so no
// two positions may share them.
TEST(PspNames, EveryNamedPositionHasEightCharactersOfItsOwn) {
    std::set<std::string> firstEight;
    std::string previous;
    for (int position = 1; position <= kLastNamedPosition; ++position) {
        const std::string name = pspVideoName(456, position).value();
        ASSERT_EQ(name.size(), 12u) << name;
        ASSERT_TRUE(name.ends_with(".MP4")) << name;
        ASSERT_TRUE(firstEight.insert(name.substr(0, 8)).second) << name;
        ASSERT_LT(previous, name);
        previous = name;
    }
}

}  // namespace
}  // namespace velmora
